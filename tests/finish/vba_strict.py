#!/usr/bin/env python3
"""What VBA refuses and LibreOffice Basic lets through, found by reading the module text:

  - Dim a(n) with a bound that is not a constant (VBA: "Constant expression required");
  - a name used under Option Explicit that nothing declares ("Variable not defined"), and a
    call of a Sub or Function that the project does not define and VBA does not have
    ("Sub or Function not defined");
  - a scalar, or an expression, passed where the callee takes an array ("Type mismatch:
    array or user-defined type expected");
  - a procedure defined twice in a module, or Public in two modules of the project
    ("Ambiguous name detected");
  - -x ^ 2 without parentheses (VBA: -(x ^ 2); LibreOffice: (-x) ^ 2);
  - And, Or, Xor, Eqv, Imp mixed at one level without parentheses: VBA takes And before Or
    before Xor before Eqv before Imp, LibreOffice all of them left to right (a Or b And c is
    a Or (b And c) in VBA, (a Or b) And c in LibreOffice).

  vba_strict.py MODULE.bas...      prints MODULE.bas:LINE: finding, exit 1 when any

check(text, others) is the library form (others: the texts of the project's other modules).
"""
import re
import sys

# Words of the language and the built-ins a finished module may use.
KEYWORDS = set("""
and as attribute base binary boolean byref byte byval call case close compare const currency
date decimal declare dim do double each else elseif empty end endif eqv erase error exit explicit
false for friend function get global gosub goto if imp in input integer is let lib like line
long loop lset me mod new next not nothing null on open option optional or output append
paramarray preserve print private property public put random read redim rem resume return rset
seek select set single static step stop string sub then to true type typeof until variant wend
while with write xor access shared lock unlock len binary object any
""".split())
BUILTINS = set("""
abs atn cos exp fix int log rnd sgn sin sqr tan round randomize
cbool cbyte ccur cdate cdbl cdec cint clng csng cstr cvar cverr val str str$ hex hex$ oct oct$
asc ascw chr chr$ chrw chrw$ instr instrrev lcase lcase$ ucase ucase$ left left$ right right$ mid
mid$ len lenb ltrim ltrim$ rtrim rtrim$ trim trim$ space space$ string$ strcomp strconv replace
split join format format$ lbound ubound isarray isempty isnull isnumeric ismissing isobject
isdate iif choose switch vartype typename array filter eof lof loc freefile dir dir$ kill
filelen filecopy mkdir rmdir curdir curdir$ chdir name now timer date$ time$ doevents err
error$ msgbox inputbox debug application environ environ$ shell beep
vbcrlf vbcr vblf vbtab vbnewline vbnullstring vbnullchar vbbinarycompare vbtextcompare
vbempty vbnull vbinteger vblong vbsingle vbdouble vbcurrency vbdate vbstring vbobject vberror
vbboolean vbvariant vbdecimal vbbyte vbarray vbokonly vbinformation vbcritical vbexclamation
""".split())
TYPES = {"long", "integer", "double", "single", "string", "boolean", "variant", "byte",
         "currency", "date", "object", "decimal"}

IDENT = re.compile(r"[A-Za-z_]\w*\$?")


def code_of(line):
    """The line without its comment and with string literals blanked (same length)."""
    out, quoted = [], False
    for i, c in enumerate(line):
        if c == '"':
            quoted = not quoted
            out.append('"')
        elif quoted:
            out.append(" ")
        elif c == "'":
            break
        else:
            out.append(c)
    code = "".join(out)
    if re.match(r"\s*rem\b", code, re.I):
        return ""
    return code


def logical_lines(text):
    """(first line number, code) of each statement line, continuations joined."""
    out, pending, first = [], "", 0
    for n, raw in enumerate(text.replace("\r\n", "\n").split("\n"), 1):
        code = code_of(raw)
        if not pending:
            first = n
        if re.search(r"(^|\s)_\s*$", code):
            pending += re.sub(r"_\s*$", " ", code)
            continue
        out.append((first, pending + code))
        pending = ""
    return out


PROC = re.compile(r"^\s*((?:(?:public|private|friend|static)\s+)*)(sub|function)\s+(\w+)\s*\((.*?)\)"
                  r"\s*(?:as\s+\w+)?\s*$", re.I)
DECL = re.compile(r"^\s*(?:dim|static|private|public|global|redim(?:\s+preserve)?)\s+(.*)$", re.I)
CONST = re.compile(r"^\s*(?:(?:public|private)\s+)?const\s+(.*)$", re.I)


def split_top(s, sep=","):
    """s split at the separators outside parentheses."""
    parts, depth, cur = [], 0, ""
    for c in s:
        if c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
        if c == sep and depth == 0:
            parts.append(cur)
            cur = ""
        else:
            cur += c
    parts.append(cur)
    return parts


def declared_items(rest):
    """(name, bounds or None) of each variable in the rest of a Dim-like statement."""
    out = []
    for item in split_top(rest):
        m = re.match(r"\s*(?:withevents\s+)?(\w+\$?)\s*(\((.*)\))?", item, re.I)
        if m:
            out.append((m.group(1), m.group(3) if m.group(2) else None))
    return out


def params(text):
    """(name, is array) of each parameter of a header's list."""
    out = []
    for p in split_top(text):
        m = re.match(r"\s*(?:optional\s+)?(?:byref\s+|byval\s+)?(?:paramarray\s+)?(\w+)\s*(\(\s*\))?", p, re.I)
        if m:
            out.append((m.group(1).lower(), bool(m.group(2))))
    return out


class Module:
    def __init__(self, text):
        self.lines = logical_lines(text)
        self.explicit = any(re.match(r"\s*option\s+explicit\b", c, re.I) for _, c in self.lines)
        self.procs = {}          # lower name -> list of (param, is array)
        self.public_procs = set()
        self.twice = []          # (line, name) of a procedure defined again in the module
        self.headers = []        # (line, name as written, public) of each procedure
        self.globals = set()
        self.global_arrays = set()
        self.consts = set()
        inside = False
        for n, code in self.lines:
            m = PROC.match(code)
            if m:
                name = m.group(3).lower()
                if name in self.procs:
                    self.twice.append((n, m.group(3)))
                self.procs[name] = params(m.group(4))
                public = "private" not in m.group(1).lower()
                if public:
                    self.public_procs.add(name)
                self.headers.append((n, m.group(3), public))
                inside = True
                continue
            if re.match(r"\s*end\s+(sub|function)\b", code, re.I):
                inside = False
                continue
            c = CONST.match(code)
            if c and not inside:
                for item in split_top(c.group(1)):
                    n = re.match(r"\s*(\w+)", item)
                    if n:
                        self.consts.add(n.group(1).lower())
                continue
            d = DECL.match(code)
            if d and not inside and not re.match(r"\s*(public|private)\s+(sub|function|const)\b", code, re.I):
                for name, bounds in declared_items(d.group(1)):
                    self.globals.add(name.lower())
                    if bounds is not None:
                        self.global_arrays.add(name.lower())


def _strip_member_access(code):
    """Names after a dot (obj.Member) and named arguments (x:=) are not variables."""
    code = re.sub(r"\.\s*\w+", " ", code)
    code = re.sub(r"\b\w+\s*:=", " ", code)
    code = re.sub(r"#\s*\w+", " ", code)          # #1, #f file numbers
    # numbers (1E+154, 2.5#, 10&) are not names
    code = re.sub(r"(?<![\w.])(?:\d+\.?\d*|\.\d+)(?:[EeDd][+-]?\d+)?[#!&%@]?", " ", code)
    return code


def check(text, others=()):
    module = Module(text)
    project = [module] + [Module(t) for t in others]
    procs = {}
    public = set()
    public_arrays = set()
    consts = set()
    for m in project:
        procs.update(m.procs)
        public |= m.globals
        public_arrays |= m.global_arrays
        consts |= m.consts
    findings = ["%d: %s is defined twice in the module" % t for t in module.twice]
    # a call of a name Public in two other modules (or here and elsewhere) is ambiguous in VBA
    elsewhere = {}
    for other in project[1:]:
        for name in other.public_procs:
            elsewhere[name] = elsewhere.get(name, 0) + 1
    for n, name, is_public in module.headers:
        if is_public and elsewhere.get(name.lower()):
            findings.append("%d: %s is Public in another module of the project too" % (n, name))
    for name, count in sorted(elsewhere.items()):
        if count > 1 and name not in module.procs and re.search(r"\b%s\b" % re.escape(name), text, re.I):
            findings.append("0: %s is Public in %d other modules: a call of it is ambiguous" % (name, count))
    # first pass: each procedure's names (parameters, declarations, constants, labels), and
    # the declarations VBA refuses
    scopes = {}               # index of a procedure's header line -> its names
    scope = None
    for k, (n, code) in enumerate(module.lines):
        m = PROC.match(code)
        if m:
            ps = params(m.group(4))
            scope = {"names": {p for p, _ in ps} | {m.group(3).lower()},
                     "arrays": {p for p, a in ps if a}, "consts": set()}
            scopes[k] = scope
            continue
        if re.match(r"\s*end\s+(sub|function)\b", code, re.I):
            scope = None
            continue
        if scope is None or not code.strip():
            continue
        # labels (L10:) and statements after them
        lm = re.match(r"^\s*([A-Za-z]\w*):(?!=)\s*(.*)$", code)
        if lm and lm.group(1).lower() not in KEYWORDS:
            scope["names"].add(lm.group(1).lower())
            code = " " * (len(code) - len(lm.group(2))) + lm.group(2)
        for stmt in split_top(code, ":"):
            c = CONST.match(stmt)
            if c:
                for item in split_top(c.group(1)):
                    nm = re.match(r"\s*(\w+)", item)
                    if nm:
                        scope["consts"].add(nm.group(1).lower())
                        scope["names"].add(nm.group(1).lower())
                continue
            d = DECL.match(stmt)
            if d:
                redim = re.match(r"\s*redim", stmt, re.I)
                for name, bounds in declared_items(d.group(1)):
                    if not redim and name.lower() in scope["names"]:
                        findings.append("%d: %s is declared twice (a parameter or an earlier Dim)" % (n, name))
                    scope["names"].add(name.lower())
                    if bounds is not None:
                        scope["arrays"].add(name.lower())
                        if not redim:
                            for word in IDENT.findall(bounds):
                                w = word.lower()
                                if w != "to" and w not in consts and w not in scope["consts"]:
                                    findings.append("%d: Dim %s(%s): the bound %s is not a constant" % (
                                        n, name, bounds.strip(), word))
                                    break
    # second pass: the uses
    in_proc = False
    for k, (n, code) in enumerate(module.lines):
        if k in scopes:
            in_proc = True
            local_arrays = scopes[k]["arrays"]
            known_names = scopes[k]["names"] | public | consts | set(procs)
            continue
        if re.match(r"\s*end\s+(sub|function)\b", code, re.I):
            in_proc = False
            continue
        if not in_proc or not code.strip():
            continue
        plain = re.sub(r"\b\w+\s*:=", " ", re.sub(r"\.\s*\w+", " ", code))
        body = _strip_member_access(code)
        body = re.sub(r"\bas\s+\w+", " ", body, flags=re.I)
        # -x ^ 2: a minus with no operand before it, then an operand and ^
        for neg in re.finditer(r"(?:^|[=(,<>*/\\+&-]|\b(?:then|to|step|and|or|not|mod|return))\s*-\s*"
                               r"[\w.$]+(?:\([^()]*\))?\s*\^", plain, re.I):
            findings.append("%d: %s: VBA reads -a ^ b as -(a ^ b), LibreOffice as (-a) ^ b; "
                            "write the parentheses" % (n, neg.group(0)[neg.group(0).index("-"):].strip()))
        for stmt in split_top(plain, ":"):
            mixed = mixed_logical(stmt)
            if mixed:
                findings.append("%d: %s after %s at one level: VBA takes %s first, LibreOffice goes "
                                "left to right; write the parentheses" % (n, mixed[1], mixed[0], mixed[1]))
        if module.explicit:
            for w in IDENT.finditer(body):
                word = w.group(0).lower()
                if word in KEYWORDS or word in BUILTINS or word in TYPES or word in known_names:
                    continue
                if re.match(r"\d", word):
                    continue
                after = body[w.end():].lstrip()
                at_start = re.match(r"\s*(call\s+)?$", body[:w.start()], re.I)
                if re.search(r"\bgo\s*to\s*$|\bgosub\s*$|\bgoto\s+(\w+\s*,\s*)*$", body[:w.start()], re.I):
                    findings.append("%d: GoTo %s: no such label in the procedure" % (n, w.group(0)))
                elif after.startswith("(") or (at_start and not after.startswith("=")):
                    findings.append("%d: %s is called, but neither the module nor VBA defines it" % (n, w.group(0)))
                else:
                    findings.append("%d: %s is not declared (Option Explicit)" % (n, w.group(0)))
        # array parameters given a scalar or an expression
        for call in re.finditer(r"\b(\w+)\s*\(", plain):
            callee = call.group(1).lower()
            if callee not in procs or not any(a for _, a in procs[callee]):
                continue
            args = _call_args(plain, call.end() - 1)
            _check_array_args(n, callee, args, procs[callee], local_arrays | public_arrays, findings)
        stmt_call = re.match(r"\s*(?:call\s+)?(\w+)\s+(?!=)(.*)$", plain, re.I)
        if stmt_call and stmt_call.group(1).lower() in procs and not re.match(r"\s*\(", stmt_call.group(2)):
            callee = stmt_call.group(1).lower()
            _check_array_args(n, callee, split_top(stmt_call.group(2)), procs[callee],
                              local_arrays | public_arrays, findings)
    unique = []
    for f in findings:          # a name used twice on a line is one finding
        if f not in unique:
            unique.append(f)
    return unique


# VBA's precedence of the logical operators, highest first
LOGICAL_RANK = {"and": 5, "or": 4, "xor": 3, "eqv": 2, "imp": 1}


def mixed_logical(code):
    """(earlier, later) when a logical operator follows one that VBA takes after it, at one
    level of parentheses: there LibreOffice, going left to right, groups them otherwise."""
    levels = [None]           # per level: the lowest-ranked operator seen so far
    for tok in re.findall(r"\(|\)|,|\w+", code):
        low = tok.lower()
        if tok == "(":
            levels.append(None)
        elif tok == ")":
            if len(levels) > 1:
                levels.pop()
        elif tok == "," or low in ("then", "else", "to", "step", "elseif", "if", "while", "until"):
            levels[-1] = None
        elif low in LOGICAL_RANK:
            lowest = levels[-1]
            if lowest and LOGICAL_RANK[low] > LOGICAL_RANK[lowest]:
                return lowest, low
            if not lowest or LOGICAL_RANK[low] < LOGICAL_RANK[lowest]:
                levels[-1] = low
    return None


def _call_args(body, open_paren):
    depth, i = 0, open_paren
    while i < len(body):
        if body[i] == "(":
            depth += 1
        elif body[i] == ")":
            depth -= 1
            if depth == 0:
                break
        i += 1
    return split_top(body[open_paren + 1:i])


def _check_array_args(n, callee, args, ps, arrays, findings):
    for arg, (pname, is_array) in zip(args, ps):
        if not is_array:
            continue
        a = arg.strip()
        if not re.fullmatch(r"\w+(\s*\(\s*\))?", a) or re.sub(r"\W.*", "", a).lower() not in arrays:
            findings.append("%d: %s takes an array for %s, and is given %s" % (n, callee, pname, a))


def main(argv):
    bad = 0
    texts = [open(p, "rb").read().decode("cp1252", "replace") for p in argv]
    for i, path in enumerate(argv):
        for f in check(texts[i], texts[:i] + texts[i + 1:]):
            print("%s:%s" % (path, f))
            bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""Compares two program outputs token by token: words must be equal, numbers equal to the
digits printed (one unit of the last digit printed apart at most: the two sides may round a
value a hair apart differently) or within a relative tolerance."""
import re

NUMBER = r"(?<![A-Za-z_\d])[+-]?(?:\d+\.?\d*|\.\d+)(?:[EeDd][+-]?\d+|(?<=\d)[+-]\d{3})?"
# a number, a name (x1, f2), or one other character
TOKEN = re.compile(r"(%s)|([A-Za-z_]\w*|\S)" % NUMBER)


def tokens(text):
    """(line number, token, is number) of every token of text."""
    out = []
    for n, line in enumerate(text.split("\n"), 1):
        for m in TOKEN.finditer(line):
            out.append((n, m.group(0), m.group(1) is not None))
    return out


def value(token):
    t = token.replace("D", "E").replace("d", "e")
    m = re.fullmatch(r"([+-]?(?:\d+\.?\d*|\.\d+))([+-]\d{3})", t)
    if m:                      # E format's exponent over 99 drops the letter
        t = m.group(1) + "E" + m.group(2)
    return float(t)


def last_place(token):
    """The value of one unit of the last digit printed."""
    m = re.fullmatch(r"[+-]?(\d*)\.?(\d*)(?:[EeDd]?([+-]?\d+))?", token)
    if not m:
        return 0.0
    decimals = len(m.group(2)) if "." in token else 0
    exponent = int(m.group(3)) if m.group(3) and re.search(r"[EeDd]|\d[+-]\d{3}$", token) else 0
    return 10.0 ** (exponent - decimals)


def numbers_agree(want, got, rel):
    if want == got:
        return True
    a, b = value(want), value(got)
    if a == b:
        return True
    if abs(a - b) <= rel * max(abs(a), abs(b)):
        return True
    return abs(a - b) <= 1.0000001 * max(last_place(want), last_place(got))


def differences(want, got, rel=1e-12, limit=10):
    """What differs, as readable lines (empty when the texts agree)."""
    a, b = tokens(want), tokens(got)
    out = []
    for i in range(max(len(a), len(b))):
        if i >= len(a):
            out.append("line %d: extra %r" % (b[i][0], b[i][1]))
        elif i >= len(b):
            out.append("line %d: missing %r" % (a[i][0], a[i][1]))
        else:
            (ln, wt, wn), (gln, gt, gn) = a[i], b[i]
            if wn and gn:
                ok = numbers_agree(wt, gt, rel)
            else:
                ok = wt == gt
            if not ok:
                out.append("line %d: want %r, got %r (line %d)" % (ln, wt, gt, gln))
        if len(out) >= limit:
            out.append("...")
            break
    return out

#!/usr/bin/env python3
"""Whole FORTRAN programs, finished and run in LibreOffice Basic, against gfortran.

For each tests/finish/programs/NAME.f: gfortran builds and runs it (its standard output is the
reference; NAME.stdin, when there is one, is its standard input, and the module's input.txt);
`ftvb-convert --finish -o NAME.bas NAME.f` translates it; the main program's Sub runs in
LibreOffice Basic (VBA mode, headless, one soffice for all programs) with FtFolder set
to a work folder holding the program's data files; report.txt is compared with the reference
token by token (words equal; numbers to the digits printed, or within 1e-12 relative).

Programs named in programs/EXPECTED_FAILURES may fail; one of them that passes fails the test
until its name is taken off the list. Exit 0 when all is as expected, 1 otherwise, 77 (skipped)
without gfortran, LibreOffice, or an ftvb-convert that knows --finish.

  programs_test.py --convert FTVB_CONVERT [--work DIR] [--only NAME...] [--write-expected]

--write-expected rewrites programs/EXPECTED_FAILURES with the programs that fail in this run
(read the run's output first).
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import lobasic          # noqa: E402
import numbers_compare  # noqa: E402
import vba_strict       # noqa: E402

PROGRAMS = os.path.join(HERE, "programs")
# Programs with a NAME.uses list take those files from the LAPACK release.
TARBALL = os.environ.get("LAPACK_TARBALL", os.path.join(
    HERE, "..", "..", "..", "shared", "corpus", "lapack_3.11.0.orig.tar.gz"))


CALLS = re.compile(r"(?im)^[ \t].{5}.*?\bcall\s+([a-z]\w*)")
EXTERNALS = re.compile(r"(?im)^[ \t]{5,}[^\n]*?\bexternal\s+((?:[^\n]|\n[ \t]{5}\S)*)")


def called(text):
    """The names a FORTRAN file calls or declares EXTERNAL (its comment lines left out)."""
    code = "\n".join(l for l in text.split("\n") if l[:1] not in ("c", "C", "*", "!"))
    names = {m.lower() for m in CALLS.findall(code)}
    for group in EXTERNALS.findall(code):
        group = re.sub(r"\n[ \t]{5}\S", " ", group)
        names |= {n.lower() for n in re.findall(r"[A-Za-z]\w*", group)}
    return names


def library_files(name, folder):
    """The release's files a program uses, unpacked into folder; None without the tarball.
    A line of NAME.uses is a path in the release (SRC/dgesv.f), or a routine's name (dsyev),
    which brings its file and every file it calls, found through CALL and EXTERNAL."""
    uses = os.path.join(PROGRAMS, name + ".uses")
    if not os.path.exists(uses):
        return []
    if not os.path.exists(TARBALL):
        return None
    wanted = [line.split("#")[0].strip() for line in open(uses)]
    wanted = [w for w in wanted if w]
    os.makedirs(folder, exist_ok=True)
    root = os.path.join(folder, "lapack-3.11.0")
    if any("/" not in w for w in wanted):
        subprocess.run(["tar", "-xzf", TARBALL, "-C", folder, "--wildcards", "lapack-3.11.0/SRC/*.f",
                        "lapack-3.11.0/BLAS/SRC/*.f", "lapack-3.11.0/INSTALL/*.f"], check=True)
    else:
        subprocess.run(["tar", "-xzf", TARBALL, "-C", folder] + ["lapack-3.11.0/" + w for w in wanted],
                       check=True)

    def file_of(routine):
        for sub in ("SRC", "BLAS/SRC", "INSTALL"):
            path = os.path.join(root, sub, routine + ".f")
            if os.path.exists(path):
                return path
        return None
    files, todo = [], []
    for w in wanted:
        path = os.path.join(root, w) if "/" in w else file_of(w.lower())
        if path and path not in files:
            files.append(path)
            todo.append(path)
    while todo:
        text = open(todo.pop(), encoding="latin-1").read()
        for routine in sorted(called(text)):
            path = file_of(routine)
            if path and path not in files:
                files.append(path)
                todo.append(path)
    return files


def program_name(source):
    for line in source.split("\n"):
        if line[:1] in ("c", "C", "*", "!"):
            continue
        m = re.match(r"\s+program\s+([a-z]\w*)", line[:72], re.I)
        if m:
            return m.group(1)
    return "Main"


def main_sub(source, module):
    """The Sub a main program becomes: named by its PROGRAM statement (changed where the name
    is VBA's own, as FORMAT becomes format_), or Main."""
    name = program_name(source).lower()
    subs = re.findall(r"(?im)^\s*(?:public\s+)?sub\s+(\w+)\s*\(\s*\)", module)
    for test in (lambda s: s.lower() == name, lambda s: s.lower().rstrip("_") == name,
                 lambda s: s.lower().startswith(name)):
        hit = [s for s in subs if test(s)]
        if hit:
            return hit[0]
    return program_name(source)


EXPECTED = os.path.join(PROGRAMS, "EXPECTED_FAILURES")


def expected_failures():
    if not os.path.exists(EXPECTED):
        return set()
    return {line.split("#")[0].strip() for line in open(EXPECTED)} - {""}


def write_expected(failing, kept):
    """The list again: its comment lines, the names this run did not try, those that failed."""
    head = [line for line in open(EXPECTED) if line.startswith("#")] if os.path.exists(EXPECTED) else []
    with open(EXPECTED, "w") as out:
        out.writelines(head)
        for name in sorted(set(failing) | set(kept)):
            out.write(name + "\n")


def skip_reason(convert, gfortran):
    if not gfortran:
        return "no gfortran"
    why = lobasic.available()
    if why:
        return why
    if not os.path.exists(convert):
        return "no %s" % convert
    usage = subprocess.run([convert, "--help"], capture_output=True, text=True)
    if "--finish" not in usage.stdout + usage.stderr:
        return "ftvb-convert has no --finish yet"
    return None


def written_modules(output, folder, default):
    """The modules ftvb-convert says it wrote (on either stream), in order, and any
    DEFAULT_N.bas beside the first that it did not name."""
    names = []
    for token in re.findall(r"[^\s'\"]+\.bas\b", output):
        path = token if os.path.isabs(token) else os.path.join(folder, token)
        if os.path.exists(path) and path not in names:
            names.append(path)
    first = os.path.join(folder, default)
    if not names and os.path.exists(first):
        names.append(first)
    stem = default[:-4]
    more = sorted((int(m.group(1)), p) for p in glob.glob(os.path.join(folder, stem + "_*.bas"))
                  for m in [re.fullmatch(re.escape(stem) + r"_(\d+)\.bas", os.path.basename(p))] if m)
    for _k, p in more:
        if p not in names:
            names.append(p)
    return names


def run_program(name, gfortran, convert, work, session):
    """(passed, what to print)."""
    source_path = os.path.join(PROGRAMS, name + ".f")
    source = open(source_path, encoding="latin-1").read()
    data = [p for p in glob.glob(os.path.join(PROGRAMS, name + ".*"))
            if not p.endswith((".f", ".uses"))]
    library = library_files(name, os.path.join(work, name, "lib"))
    if library is None:
        return None, ["skipped: no LAPACK tarball at %s (set LAPACK_TARBALL)" % TARBALL]
    ref_dir = os.path.join(work, name, "gfortran")
    vba_dir = os.path.join(work, name, "vba")
    for d in (ref_dir, vba_dir):
        os.makedirs(d, exist_ok=True)
        for p in data:
            shutil.copy(p, d)
    build = subprocess.run([gfortran, "-std=legacy", "-w", "-o", os.path.join(ref_dir, name), source_path]
                           + library,
                           capture_output=True, text=True)
    if build.returncode:
        return False, ["gfortran cannot build it:", build.stderr.strip()]
    stdin = os.path.join(PROGRAMS, name + ".stdin")
    feed = open(stdin).read() if os.path.exists(stdin) else ""
    if feed:
        shutil.copy(stdin, os.path.join(vba_dir, "input.txt"))
    ref = subprocess.run([os.path.join(ref_dir, name)], cwd=ref_dir, capture_output=True,
                         text=True, timeout=60, input=feed)
    shutil.copy(source_path, os.path.join(work, name))
    conv = subprocess.run([convert, "--finish", "-o", name + ".bas", name + ".f"] + library,
                          cwd=os.path.join(work, name), capture_output=True, text=True, timeout=120)
    if conv.returncode:
        return False, ["ftvb-convert --finish failed (%d):" % conv.returncode,
                       (conv.stdout + conv.stderr).strip()]
    modules = written_modules(conv.stdout + conv.stderr, os.path.join(work, name), name + ".bas")
    texts = [open(m, "rb").read().decode("cp1252", "replace") for m in modules]
    problems = []
    for m, t in zip(modules, texts):
        for finding in vba_strict.check(t):
            problems.append("%s:%s" % (os.path.basename(m), finding))
    verdict = session.check(texts, main_sub(source, texts[0]), vba_dir, timeout=90)
    problems += lobasic.describe(name + ".bas", verdict)
    report = os.path.join(vba_dir, "report.txt")
    got = open(report, encoding="utf-8", errors="replace").read() if os.path.exists(report) else ""
    # gfortran writes a STOP's message on standard error, the module at the end of report.txt;
    # a PAUSE's too, the module where it is (a program's PAUSE comes after its last output)
    reference = ref.stdout + "".join((m.group(1) or m.group(0)) + "\n"
                                     for m in re.finditer(r"(?m)^(?:STOP (.+)|PAUSE\b.*)$", ref.stderr))
    diffs = numbers_compare.differences(reference, got, 1e-12)
    if diffs:
        problems.append("output differs from gfortran's:")
        problems += ["  " + d for d in diffs]
    return not problems, problems


def main(argv):
    ap = argparse.ArgumentParser()
    ap.add_argument("--convert", required=True)
    ap.add_argument("--work")
    ap.add_argument("--only", nargs="*")
    ap.add_argument("--write-expected", action="store_true")
    a = ap.parse_args(argv)
    gfortran = shutil.which(os.environ.get("FC", "gfortran"))
    why = skip_reason(a.convert, gfortran)
    if why:
        print("skipped: %s" % why)
        return 77
    names = sorted(os.path.basename(p)[:-2] for p in glob.glob(os.path.join(PROGRAMS, "*.f")))
    if a.only:
        names = [n for n in names if n in a.only]
    allowed = expected_failures()
    work = os.path.abspath(a.work) if a.work else tempfile.mkdtemp(prefix="ftvb-programs-")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    start = time.time()
    bad = 0
    results = {}
    try:
        with lobasic.Session() as session:
            for name in names:
                try:
                    ok, lines = run_program(name, gfortran, os.path.abspath(a.convert), work, session)
                except subprocess.TimeoutExpired as e:
                    ok, lines = False, ["timed out: %s" % e.cmd]
                if ok is None:
                    print("%s: %s" % (name, lines[0]))
                    continue
                results[name] = ok
                if ok and name in allowed:
                    bad += 1
                    print("%s: passes now; take it off programs/EXPECTED_FAILURES" % name)
                elif ok:
                    print("%s: same as gfortran" % name)
                elif name in allowed:
                    print("%s: fails, as expected for now" % name)
                    for line in lines[:4]:
                        print("  " + line)
                else:
                    bad += 1
                    print("%s: FAILED" % name)
                    for line in lines:
                        print("  " + line)
    except lobasic.Unavailable as e:
        print("skipped: %s" % e)
        return 77
    if a.write_expected:
        write_expected([n for n, ok in results.items() if not ok], allowed - set(results))
        print("wrote %s" % EXPECTED)
    passed = sum(results.values())
    print("%d of %d programs print gfortran's numbers; %d expected to fail; %.0f s; work folder %s" % (
        passed, len(results), len(allowed & set(results)), time.time() - start, work))
    return 1 if bad else 0


if __name__ == "__main__":
    code = main(sys.argv[1:])
    sys.stdout.flush()
    os._exit(code)

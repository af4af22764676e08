#!/usr/bin/env python3
"""Every real (not complex) routine of LAPACK 3.11.0 SRC and BLAS/SRC, with INSTALL's
machine constants, finished in one run: the modules must keep within what VBA loads (65,534
lines a module, 1,023 bytes a line, 24 line continuations a statement, 400 modules), hold
nothing VBA refuses that LibreOffice accepts (vba_strict.py), use fewer than 32K distinct
names in all (VBA's project limit), and compile in LibreOffice Basic with no error.

A routine is complex when it declares a COMPLEX variable. "lapack-compile" in
programs/EXPECTED_FAILURES lets the test fail (saying so) until the finisher passes it.
Exit 0 as expected, 1 not, 77 (skipped) without the tarball (LAPACK_TARBALL), LibreOffice or
an ftvb-convert that knows --finish.

  lapack_compiles.py --convert FTVB_CONVERT [--work DIR]
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import lobasic       # noqa: E402
import programs_test  # noqa: E402
import vba_strict    # noqa: E402

NAME = "lapack-compile"
COMPLEX = re.compile(r"(?im)^[ \t]+(?:double\s+)?complex\b")


def real_routines(root):
    files = []
    for folder in ("SRC", "BLAS/SRC"):
        for path in sorted(glob.glob(os.path.join(root, folder, "*.f"))):
            text = open(path, encoding="latin-1").read()
            if not COMPLEX.search(text):
                files.append(path)
    files += [os.path.join(root, "INSTALL", n) for n in ("dlamch.f", "slamch.f")]
    return files


def limits(path, text):
    """What breaks VBA's limits in one module."""
    out = []
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) > 65534:
        out.append("%s: %d lines (at most 65,534)" % (path, len(lines)))
    run = 0
    for n, line in enumerate(lines, 1):
        if len(line.encode("cp1252", "replace")) > 1023:
            out.append("%s:%d: %d bytes (at most 1,023)" % (path, n, len(line)))
        if line.endswith(" _"):
            run += 1
            if run == 25:
                out.append("%s:%d: more than 24 line continuations in one statement" % (path, n))
        else:
            run = 0
        if len(out) > 20:
            break
    return out


def main(argv):
    ap = argparse.ArgumentParser()
    ap.add_argument("--convert", required=True)
    ap.add_argument("--work")
    a = ap.parse_args(argv)
    why = programs_test.skip_reason(a.convert, shutil.which("gfortran") or "gfortran")
    if why:
        print("skipped: %s" % why)
        return 77
    if not os.path.exists(programs_test.TARBALL):
        print("skipped: no LAPACK tarball at %s (set LAPACK_TARBALL)" % programs_test.TARBALL)
        return 77
    work = os.path.abspath(a.work or "lapack-compile")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    subprocess.run(["tar", "-xzf", programs_test.TARBALL, "-C", work, "--wildcards",
                    "lapack-3.11.0/SRC/*.f", "lapack-3.11.0/BLAS/SRC/*.f", "lapack-3.11.0/INSTALL/*.f"],
                   check=True)
    files = real_routines(os.path.join(work, "lapack-3.11.0"))
    start = time.time()
    conv = subprocess.run([os.path.abspath(a.convert), "--finish", "-o", "lapack.bas"] + files,
                          cwd=work, capture_output=True, text=True, timeout=600)
    finish_seconds = time.time() - start
    problems = []
    if conv.returncode:
        problems.append("ftvb-convert --finish exited with %d: %s" % (conv.returncode, conv.stderr.strip()[:500]))
    modules = programs_test.written_modules(conv.stdout + conv.stderr, work, "lapack.bas")
    texts = [open(m, "rb").read().decode("cp1252", "replace") for m in modules]
    if len(modules) > 400:
        problems.append("%d modules (a project holds about 400)" % len(modules))
    names = set()
    for m, t in zip(modules, texts):
        problems += limits(os.path.basename(m), t)
        for _n, code in vba_strict.logical_lines(t):
            names |= {w.lower() for w in re.findall(r"\b[A-Za-z_]\w*", code)}
    if len(names) >= 32000:
        problems.append("%d distinct names (a VBA project holds 32K)" % len(names))
    findings = []
    for i, (m, t) in enumerate(zip(modules, texts)):
        findings += ["%s:%s" % (os.path.basename(m), f) for f in vba_strict.check(t, texts[:i] + texts[i + 1:])]
    problems += findings[:40] + (["... %d findings in all" % len(findings)] if len(findings) > 40 else [])
    try:
        with lobasic.Session() as session:
            verdict = session.check(texts, None, None, timeout=600)
    except lobasic.Unavailable as e:
        print("skipped: %s" % e)
        return 77
    errors = lobasic.describe("lapack.bas", verdict)
    problems += errors[:40]
    lines = sum(t.count("\n") for t in texts)
    print("%d files finished into %d modules, %d lines, %d distinct names, in %.1f s; "
          "LibreOffice compiled them in %.0f s" % (len(files), len(modules), lines, len(names),
                                                    finish_seconds, verdict.seconds))
    for p in problems:
        print("  " + p)
    listed = NAME in programs_test.expected_failures()
    if problems and listed:
        print("%s: fails, as expected for now" % NAME)
        return 0
    if not problems and listed:
        print("%s: passes now; take it off programs/EXPECTED_FAILURES" % NAME)
        return 1
    if problems:
        print("%s: FAILED" % NAME)
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("%s: every module loads and compiles" % NAME)
    return 0


if __name__ == "__main__":
    code = main(sys.argv[1:])
    sys.stdout.flush()
    os._exit(code)

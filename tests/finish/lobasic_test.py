#!/usr/bin/env python3
"""The LibreOffice harness on modules whose verdict is known: compile errors with their line
and column, a runtime error, a run that never ends (the session starts soffice again and goes
on), a project of two modules, FtFolder set for the run; and no soffice of its own left.
Exit 77 (skipped) without LibreOffice."""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lobasic  # noqa: E402

RUNS = "Public FtFolder As String\nSub Main()\n    Open FtFolder & \"/out.txt\" For Output As #1\n" \
       "    Print #1, \"ran\"; 6 * 7\n    Close #1\nEnd Sub\n"
CASES = [
    # (name, modules, sub, status, [(line, module or None, piece of the message)], out.txt or None)
    ("compiles and runs", [RUNS], "Main", "ok", [], "ran 42\n"),
    ("two compile errors", ["Sub Main()\n    Dim x As Double\n    x = (x +\nEnd Sub\nSub B()\n    y = 2 +* 3\nEnd Sub\n"],
     None, "compile-errors", [(3, "Module1", "Unexpected symbol"), (5, "Module1", "Sub not allowed"),
                              (6, "Module1", "Unexpected symbol: *")], None),
    ("a runtime error", ["Sub Main()\n    Dim v(1 To 3) As Double\n    v(4) = 1\nEnd Sub\n"], "Main",
     "runtime-error", [(3, None, "out of defined range")], None),
    ("never ends", ["Sub Main()\n    Dim k As Long\n    Do\n        k = k + 1\n    Loop\nEnd Sub\n"], "Main",
     "timeout", [], None),
    ("after a restart, two modules", ["Sub Main()\n    Helper\nEnd Sub\n",
                                      RUNS.replace("Sub Main()", "Sub Helper()")], "Main", "ok", [], "ran 42\n"),
    ("an error in the second module", ["Sub Main()\nEnd Sub\n", "Sub B()\n    x = (\nEnd Sub\n"], None,
     "compile-errors", [(2, "Module2", "Unexpected symbol"), (4, "Module2", "Sub not allowed")], None),
]


def ours():
    out = subprocess.run(["ps", "-eo", "pid,args"], capture_output=True, text=True).stdout
    # Only the offices of this test's sessions (their pipes carry its pid):
    # other tests run theirs at the same time.
    mine = "ftvb_lobasic_%d_" % os.getpid()
    return [l for l in out.splitlines() if "soffice.bin" in l and mine in l]


def main():
    why = lobasic.available()
    if why:
        print("skipped: %s" % why)
        return 77
    before = set(ours())
    failed = 0
    with lobasic.Session() as session:
        for name, modules, sub, status, errors, out in CASES:
            folder = tempfile.mkdtemp(prefix="ftvb-lobasic-test-")
            v = session.check(modules, sub, folder, timeout=8 if status == "timeout" else 60)
            why = []
            if v.status != status:
                why.append("status %s, want %s (%s)" % (v.status, status, lobasic.describe("m", v)))
            got = v.compile_errors if v.compile_errors else ([v.runtime_error] if v.runtime_error else [])
            for (line, module, piece), e in zip(errors, got):
                if e.get("line") != line or (module and e.get("module") != module) or piece not in e.get("msg", ""):
                    why.append("error %r, want line %d with %r" % (e, line, piece))
            if len(got) != len(errors):
                why.append("%d errors, want %d: %r" % (len(got), len(errors), got))
            if out is not None:
                path = os.path.join(folder, "out.txt")
                text = open(path).read() if os.path.exists(path) else None
                if text != out:
                    why.append("out.txt %r, want %r" % (text, out))
            shutil.rmtree(folder, ignore_errors=True)
            if why:
                failed += 1
                print("%s: %s" % (name, "; ".join(why)))
        # soffice killed under the session's feet: that check fails, the next one works
        os.killpg(session.office.proc.pid, 9)
        v = session.check([RUNS], "Main", tempfile.mkdtemp(prefix="ftvb-lobasic-test-"), timeout=30)
        if v.status != "runtime-error" or "LibreOffice failed" not in v.runtime_error["msg"]:
            failed += 1
            print("soffice killed: status %s, %r" % (v.status, v.runtime_error))
        folder = tempfile.mkdtemp(prefix="ftvb-lobasic-test-")
        v = session.check([RUNS], "Main", folder, timeout=60)
        if v.status != "ok" or not os.path.exists(os.path.join(folder, "out.txt")):
            failed += 1
            print("after soffice was killed: %s %r" % (v.status, lobasic.describe("m", v)))
        shutil.rmtree(folder, ignore_errors=True)
    left = set(ours()) - before
    if left:
        failed += 1
        print("soffice left running: %s" % left)
    print("all %d harness cases as expected" % len(CASES) if not failed else "%d failed" % failed)
    return 1 if failed else 0


if __name__ == "__main__":
    code = main()
    sys.stdout.flush()
    os._exit(code)

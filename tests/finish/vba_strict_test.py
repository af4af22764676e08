#!/usr/bin/env python3
"""The checker of what VBA refuses and LibreOffice accepts: small modules with what it must
find (a piece of each finding, in order) and must not find."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vba_strict  # noqa: E402

HEAD = "Option Explicit\n"
CASES = [
    # (module body, pieces of the findings expected, in order)
    ("Sub T(ByVal n As Long)\n    Dim a(n) As Double\nEnd Sub\n", ["2: Dim a(n)"]),
    ("Const N As Long = 4\nSub T()\n    Dim a(1 To N, 0 To 2 * N) As Double\n    Dim b() As Long\n"
     "    ReDim b(1 To N + 1)\nEnd Sub\n", []),
    ("Sub T(ByVal m As Long)\n    Const K As Long = 3\n    Dim a(K) As Long\n    Dim b(m - 1) As Long\nEnd Sub\n",
     ["4: Dim b(m - 1)"]),
    ("Sub T(x() As Double, ByVal n As Long)\n    Dim x(n) As Double\nEnd Sub\n",
     ["2: x is declared twice", "2: Dim x(n)"]),
    ("Sub T()\n    x = 3\nEnd Sub\n", ["2: x is not declared"]),
    ("Sub T()\n    Dim y As Double\n    y = dabs(-2)\n    Call Nowhere(y)\n    Elsewhere y\nEnd Sub\n",
     ["3: dabs is called", "4: Nowhere is called", "5: Elsewhere is called"]),
    ("Sub T()\n    GoTo L99\nL10:\n    GoTo L10\nEnd Sub\n", ["2: GoTo L99"]),
    ("Sub T(ByVal x As Double)\n    Dim y As Double\n    y = -x ^ 2\n    y = 2 * -x ^ 2\n"
     "    y = -(x ^ 2) + 1 - x ^ 2\n    y = (-x) ^ 2\nEnd Sub\n", ["3: -x ^", "4: -x ^"]),
    ("Sub S(a() As Double, ByVal n As Long)\nEnd Sub\nSub T()\n    Dim d As Double, v(1 To 3) As Double\n"
     "    S d, 3\n    S v, 3\n    Call S(v(), 1)\n    S v(2), 1\nEnd Sub\n",
     ["5: s takes an array for a, and is given d", "8: s takes an array for a, and is given v(2)"]),
    ("Sub T(ByVal a As Boolean, ByVal b As Boolean, ByVal c As Boolean)\n    Dim x As Boolean\n"
     "    If a And Not b Or Not a And b Then x = True\n    x = a Or b And c\n    x = (a Or b) And c\n"
     "    x = (a And b) Or (Not a And c)\n    x = a Xor b Eqv c\n    x = a And b And c Or (b)\n"
     "    x = IIf(a And b, c Or a, b)\n    x = a Eqv b Xor c\n    x = a And b Or c\nEnd Sub\n",
     ["3: and after or", "4: and after or", "10: xor after eqv"]),
    ("Sub A()\nEnd Sub\nPrivate Sub B()\nEnd Sub\nSub A()\nEnd Sub\n", ["5: A is defined twice"]),
    # what must not be taken for a finding
    ("Public FtFolder As String\nPrivate Function F(ByVal x As Double) As Double\n"
     "    Dim s As String, i As Long\n    s = \"undeclared words in a string\" ' and in a comment\n"
     "    i = 1E+154 > x And 2.5# < 1&\n    Open s For Append As #1\n    Print #1, Mid$(s, 1, 2); UBound(Split(s, \",\"))\n"
     "    Close #1\n    F = Abs(x) + Sqr(2) + Len(FtFolder) + Err.Number\n    If x > 0 Then Exit Function\n"
     "    s = \"a\" & _\n        \"b\": i = i + 1\nEnd Function\n", []),
]


def main():
    failed = 0
    for body, want in CASES:
        got = vba_strict.check(HEAD + body)
        # line numbers above count from the body's first line
        got = [g.replace("%d:" % int(g.split(":")[0]), "%d:" % (int(g.split(":")[0]) - 1), 1) for g in got]
        pos, ok = 0, True
        for piece in want:
            hit = next((i for i in range(pos, len(got)) if piece in got[i]), None)
            if hit is None:
                ok = False
                break
            pos = hit + 1
        if ok and len(got) != len(want):
            ok = False
        if not ok:
            failed += 1
            print("case:\n" + body + "want: %r\ngot:  %r\n" % (want, got))
    # a project of several modules
    projects = [
        (["Sub Main()\n    Dup\nEnd Sub\n", "Public Sub Dup()\nEnd Sub\n", "Sub Dup()\nEnd Sub\n"],
         ["Dup is Public in 2 other modules"]),
        (["Public Sub Main()\nEnd Sub\nPrivate Sub Helper()\nEnd Sub\n", "Private Sub Helper()\nEnd Sub\n"], []),
        (["Public Sub Shared()\nEnd Sub\n", "Public Sub Shared()\nEnd Sub\n"], ["1: Shared is Public in another"]),
    ]
    for texts, want in projects:
        got = [f for i, t in enumerate(texts) for f in vba_strict.check(t, texts[:i] + texts[i + 1:])][:len(want) or None]
        if len(got) < len(want) or any(w.lower() not in g.lower() for w, g in zip(want, got)) or (not want and got):
            failed += 1
            print("project %r:\nwant %r\ngot  %r" % (texts, want, got))
    # the runtime itself, as the module writer gets it, holds none of it
    dump = sys.argv[1] if len(sys.argv) > 1 else None
    if dump:
        runtime = subprocess.run([dump], capture_output=True, text=True, check=True).stdout
        for f in vba_strict.check(HEAD + runtime):
            failed += 1
            print("runtime:%s" % f)
    print("%d of %d checker cases as expected" % (len(CASES) - failed, len(CASES)) if failed else
          "all %d checker cases as expected" % len(CASES))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

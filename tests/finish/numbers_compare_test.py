#!/usr/bin/env python3
"""The token comparison of program outputs: what agrees and what does not."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import numbers_compare  # noqa: E402

# (gfortran's text, the other text, agrees)
CASES = [
    ("  1.5000000000000000     ", "1.5", True),
    (" x =   2.50000000    ", " x = 2.5000000", True),
    ("0.123E+04", "0.1230E+04", True),
    ("0.100+121", "1.0E+120", True),                   # E format's exponent without its letter
    ("0.2500D+01", "0.2500E+01", True),
    ("0.33333333333333331", "0.33333333333333337", True),      # within 1e-12
    ("0.333333", "0.333334", True),                    # one unit of the last digit printed
    ("0.333333", "0.333335", False),
    ("1.0000000000000000E-003", "1.0000000001E-003", False),
    ("f1 2", "f1 2", True),
    ("f1 2", "f2 2", False),                           # names are words, not numbers
    ("apply 3", "apply 3 4", False),
    ("****", "1234", False),
    ("  1011 12", "  1011 12", True),
    ("T F", "T T", False),
    ("a\nb", "a b", True),                             # tokens, not lines
]


def main():
    failed = 0
    for want, got, agrees in CASES:
        d = numbers_compare.differences(want, got, 1e-12)
        if (d == []) != agrees:
            failed += 1
            print("%r vs %r: %s, want %s" % (want, got, d or "agree", "agree" if agrees else "differ"))
    print("all %d comparisons as expected" % len(CASES) if not failed else "%d failed" % failed)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

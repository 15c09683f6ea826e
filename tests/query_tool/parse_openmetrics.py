# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a metrics file with prometheus_client's two parsers and prints its
samples, so a test can compare them.

Usage: parse_openmetrics.py FILE

Each parser prints one line per sample: the parser ("openmetrics" or
"text"), the sample name, its labels sorted by name as NAME=VALUE joined by
";", and its value in Python's %g form, separated by blanks (no labels:
"-"). A label value is written character by character: printable ASCII
as it is, "\\", ";", "=" and every other character below U+0100 as \\xHH,
anything beyond as \\u{HEX}. A file that a parser refuses ends the run
with status 1 and the parser's message on standard error.
"""
import sys

from prometheus_client.openmetrics.parser import text_string_to_metric_families as openmetrics_families
from prometheus_client.parser import text_string_to_metric_families as text_families


def shown(value):
    out = []
    for ch in value:
        code = ord(ch)
        if 0x20 <= code < 0x7F and ch not in "\\;=":
            out.append(ch)
        elif code < 0x100:
            out.append("\\x%02x" % code)
        else:
            out.append("\\u{%x}" % code)
    return "".join(out)


def main():
    # newline="" keeps a carriage return inside a label value as it is.
    with open(sys.argv[1], encoding="utf-8", newline="") as stream:
        text = stream.read()
    for parser_name, parse in (("openmetrics", openmetrics_families), ("text", text_families)):
        try:
            for family in parse(text):
                for sample in family.samples:
                    labels = ";".join("%s=%s" % (name, shown(value)) for name, value in sorted(sample.labels.items()))
                    print(parser_name, sample.name, labels or "-", "%g" % sample.value)
        except Exception as error:  # the parsers raise ValueError and others
            print("%s parser: %s" % (parser_name, error), file=sys.stderr)
            sys.exit(1)


main()

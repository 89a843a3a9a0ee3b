#!/usr/bin/env python3
"""Doxygen input filter for OrvikFILE_Codes.h: expands the enums that the
X-macro lists make into plain enumerators, each documented with its list
text, so that the reference names every code. Keeps the line count."""
import re
import sys

LISTS = {
    "ORVIK_FILE_RETURN_CODES": "ORVIK_RC_",
    "ORVIK_FILE_STATUSES": "ORVIK_STATUS_",
    "ORVIK_FILE_MESSAGES": "ORVIK_MSG_",
    "ORVIK_FILE_CAUSE_MESSAGES": "ORVIK_MSG_",
    "ORVIK_FILE_RESULTS": "ORVIK_",
}


def entries(source):
    joined = source.replace("\\\n", " ")
    found = {}
    for match in re.finditer(r"#define (ORVIK_FILE_\w+)\(X\)(.*)", joined):
        name, body = match.groups()
        if name not in LISTS:
            continue
        items = re.findall(r'X\((?:\w+, )?(\w+), \(?(-?\d+)\)?,\s*((?:"[^"]*"\s*)+)\)', body)
        found[name] = [(LISTS[name] + n, v, re.sub(r'"\s*"', "", t).strip('"'))
                       for n, v, t in items]
    return found


def main():
    source = open(sys.argv[1], encoding="utf-8").read()
    lists = entries(source)

    def expand(match):
        enumerators = [f"{n} = {v}, /**< {t} */" for n, v, t in lists[match.group(1)]]
        return " ".join(enumerators)

    sys.stdout.write(re.sub(r"(ORVIK_FILE_\w+)\(ORVIK_DEFINE_\w+\)", expand, source))


main()

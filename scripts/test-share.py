#!/usr/bin/env python3
"""The share of test code among the project's C and C++ lines.

Counts the lines of every C/C++ file that git tracks (.c .cc .cpp .cxx .h
.hh .hpp .inc) that hold code: blank lines, line comments and block
comments are left out (a line with code and a comment counts once); string
and character literals, raw strings included, are read as code, so that a
"//" or "/*" inside one starts no comment. Test code is everything under
tests/ and fuzz/; the rest (src/, include/, tools/, bench/, examples/) is
the code it is weighed against.

Usage: scripts/test-share.py [-v]   (-v lists every file's count)
"""
import os
import re
import subprocess
import sys

EXTENSIONS = ('.c', '.cc', '.cpp', '.cxx', '.h', '.hh', '.hpp', '.inc')
TEST_DIRECTORIES = ('tests/', 'fuzz/')
RAW_STRING = re.compile(r'(?:u8|u|U|L)?R"([^(\s]*)\(')


def code_lines(text):
    """The number of lines of `text` that hold code once comments are gone."""
    lines, current, i, n = [], [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('/*', i):
            end = text.find('*/', i + 2)
            end = n if end < 0 else end + 2
            for _ in range(text.count('\n', i, end)):
                lines.append(''.join(current))
                current = []
            i = end
        elif text.startswith('//', i):
            end = text.find('\n', i)
            i = n if end < 0 else end
        elif RAW_STRING.match(text, i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            delimiter = RAW_STRING.match(text, i).group(1)
            end = text.find(')' + delimiter + '"', i)
            end = n if end < 0 else end + len(delimiter) + 2
            pieces = text[i:end].split('\n')
            current.append(pieces[0])
            for piece in pieces[1:]:
                lines.append(''.join(current))
                current = [piece]
            i = end
        elif c == "'" and i > 0 and re.match(r'[0-9a-fA-F]', text[i - 1]) and i + 1 < n \
                and text[i + 1].isalnum():
            current.append(c)  # a digit separator: 1'000'000
            i += 1
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            current.append(text[i:j + 1])
            i = j + 1
        elif c == '\n':
            lines.append(''.join(current))
            current = []
            i += 1
        else:
            current.append(c)
            i += 1
    lines.append(''.join(current))
    return sum(1 for line in lines if line.strip())


def main():
    root = subprocess.run(['git', 'rev-parse', '--show-toplevel'], capture_output=True,
                          text=True, check=True).stdout.strip()
    files = subprocess.run(['git', '-C', root, 'ls-files'], capture_output=True, text=True,
                           check=True).stdout.split('\n')
    counts = {}
    for name in files:
        if name.endswith(EXTENSIONS) and os.path.isfile(os.path.join(root, name)):
            with open(os.path.join(root, name), encoding='utf-8', errors='replace') as source:
                counts[name] = code_lines(source.read())
    tests = sum(k for name, k in counts.items() if name.startswith(TEST_DIRECTORIES))
    everything = sum(counts.values())
    if '-v' in sys.argv[1:]:
        for name, k in sorted(counts.items(), key=lambda item: -item[1]):
            print(f'{k:6} {name}')
    print(f'test code (tests/, fuzz/): {tests} of {everything} C/C++ lines, '
          f'{100 * tests / everything:.1f}%')


if __name__ == '__main__':
    main()

#!/usr/bin/env python3
"""Keeps the README, the porting guide and the headers' examples true.

Every code block is compiled or run:
  - C++ (```c++ in a guide, @code in a header): compiled against the public
    headers. A block with an #include is a file of its own; any other is the
    body of a function, with the public headers and <cstdio> included.
  - CMake (```cmake): the body of a scratch project that has a target
    my_host, configured against an install of this build (find_package) or
    with this source tree as its subdirectory OrvikFILE_Lib.
  - shell (```sh): parsed by bash; every scripts/ file it names exists, every
    --target it builds is one of the project's, every build directory it uses
    is made by a -B of the same document or by a script, and every
    orvikfile command it shows answers --help.
The EXAMPLES of the orvikfile manual page (tools/orvikfile_man_sections.txt)
are run, in order, in a scratch directory; each must succeed.
usage: check_docs.py SOURCE_DIR BUILD_DIR WORK_DIR CXX ORVIKFILE GENERATED_INCLUDE_DIR
"""
import glob
import os
import re
import shutil
import subprocess
import sys

SOURCE, BUILD, WORK, CXX, ORVIKFILE, GENERATED = sys.argv[1:7]
GUIDES = ["README.md", "docs/porting.md"]
failures = []


def fail(where, text):
    failures.append(f"{where}: {text}")


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def fenced_blocks(path):
    """(language, first line number, text) of each fenced block."""
    blocks, language, start, body = [], None, 0, []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        fence = re.match(r"^```(\S*)", line)
        if fence and language is None:
            language, start, body = fence.group(1) or "text", number + 1, []
        elif fence:
            blocks.append((language, start, "".join(body)))
            language = None
        elif language is not None:
            body.append(line)
    return blocks


def header_examples(path):
    """(first line number, text) of each @code block of a header."""
    examples, start, body = [], None, []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        text = re.sub(r"^\s*(\*|///)( |$)", "", line.rstrip("\n"))
        if text.strip().startswith("@code"):
            start, body = number + 1, []
        elif text.strip().startswith("@endcode"):
            examples.append((start, "\n".join(body) + "\n"))
            start = None
        elif start is not None:
            body.append(text)
    return examples


def check_cxx(examples):
    """Compiles (file, line, text) examples: bodies together, files alone."""
    headers = sorted(os.path.basename(h) for h in glob.glob(f"{SOURCE}/include/*.h*"))
    prelude = "".join(f'#include "{h}"\n' for h in headers) + "#include <cstdio>\n"
    bodies, files = [], []
    for index, (path, line, text) in enumerate(examples):
        where = f'#line {line} "{path}"\n'
        if re.search(r"^\s*#include", text, re.M):
            files.append((f"{path}:{line}", where + text))
        else:
            bodies.append(f"[[maybe_unused]] static void example_{index}() {{\n{where}{text}}}\n")
    files.append(("examples as function bodies", prelude + "".join(bodies)))
    for index, (where, text) in enumerate(files):
        unit = os.path.join(WORK, f"example_{index}.cpp")
        open(unit, "w", encoding="utf-8").write(text)
        result = run([CXX, "-std=c++17", "-fsyntax-only", f"-I{SOURCE}/include",
                      f"-I{GENERATED}", unit])
        if result.returncode != 0:
            fail(where, "does not compile:\n" + result.stderr)


def check_cmake(path, line, text):
    project = os.path.join(WORK, f"cmake_{line}")
    shutil.rmtree(project, ignore_errors=True)
    os.makedirs(project)
    os.symlink(SOURCE, os.path.join(project, "OrvikFILE_Lib"))
    open(os.path.join(project, "main.cpp"), "w").write("int main() { return 0; }\n")
    open(os.path.join(project, "CMakeLists.txt"), "w").write(
        "cmake_minimum_required(VERSION 3.20)\nproject(DocBlock CXX)\n"
        "add_executable(my_host main.cpp)\n" + text)
    result = run(["cmake", "-S", project, "-B", os.path.join(project, "build"),
                  f"-DCMAKE_PREFIX_PATH={WORK}/prefix", f"-DCMAKE_CXX_COMPILER={CXX}"])
    if result.returncode != 0:
        fail(f"{path}:{line}", "does not configure:\n" + result.stderr)


def check_sh(path, line, text, document, targets, scripts_text):
    where = f"{path}:{line}"
    if run(["bash", "-n"], input=text).returncode != 0:
        fail(where, "is no valid shell")
    for script in re.findall(r"\bscripts/[\w.-]+", text):
        if not os.path.exists(os.path.join(SOURCE, script)):
            fail(where, f"{script} does not exist")
    for target in re.findall(r"--target\s+(\S+)", text):
        if target not in targets:
            fail(where, f"no target {target} in this build")
    for directory in re.findall(r"(?:--build|--test-dir|--install)\s+(\S+)", text):
        made = re.search(rf"-B\s+{re.escape(directory)}(\s|$)", document)
        if not made and directory not in scripts_text:
            fail(where, f"nothing makes {directory}")
    for command in re.findall(r"^\s*(?:\$ )?orvikfile\s+([a-z-]+)", text, re.M):
        if run([ORVIKFILE, command, "--help"]).returncode != 0:
            fail(where, f"orvikfile {command} --help fails")


def check_man_examples():
    path = os.path.join(SOURCE, "tools/orvikfile_man_sections.txt")
    section = re.search(r"^EXAMPLES\n(.*?)(?=^[A-Z])", open(path).read(), re.M | re.S)
    commands = [line[8:] for line in section.group(1).splitlines() if line.startswith(" " * 8)]
    scratch = os.path.join(WORK, "man-examples")
    os.makedirs(scratch)
    path_with_program = os.path.dirname(ORVIKFILE) + os.pathsep + os.environ["PATH"]
    # (Bytes out: an example prints a Windows-1252 name.)
    result = subprocess.run(["bash", "-e", "-c", "\n".join(commands)], cwd=scratch,
                            env=dict(os.environ, PATH=path_with_program), capture_output=True)
    if result.returncode != 0:
        fail(f"{path} EXAMPLES", "a command fails:\n" + result.stderr.decode(errors="replace"))


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    install = run(["cmake", "--install", BUILD, "--prefix", f"{WORK}/prefix"])
    if install.returncode != 0:
        fail(BUILD, "does not install:\n" + install.stderr)
    # The build's targets, read from its build files (Ninja or Make); a
    # target the build left out for a missing tool (docs without Doxygen)
    # still counts when the project defines it.
    targets = set()
    for rules in ("build.ninja", "Makefile"):
        if os.path.exists(os.path.join(BUILD, rules)):
            text = open(os.path.join(BUILD, rules), encoding="utf-8").read()
            targets.update(re.findall(r"^(?:build )?([\w.-]+):", text, re.M))
    for module in glob.glob(f"{SOURCE}/cmake/*.cmake"):
        targets.update(re.findall(r"add_custom_target\(([\w-]+)", open(module).read()))
    scripts_text = "".join(open(s).read() for s in glob.glob(f"{SOURCE}/scripts/*.sh"))

    examples = []
    for header in sorted(glob.glob(f"{SOURCE}/include/*.h*")):
        examples += [(header, line, text) for line, text in header_examples(header)]
    for guide in GUIDES:
        path = os.path.join(SOURCE, guide)
        document = open(path, encoding="utf-8").read()
        for language, line, text in fenced_blocks(path):
            if language in ("c", "c++", "cpp"):
                examples.append((path, line, text))
            elif language == "cmake":
                check_cmake(path, line, text)
            elif language == "sh":
                check_sh(path, line, text, document, targets, scripts_text)
            elif language != "text":
                fail(f"{path}:{line}", f"a block of language {language}, which nothing checks")
    check_cxx(examples)
    check_man_examples()

    for failure in failures:
        print(failure)
    print(f"{len(examples)} C++ examples; {len(failures)} failures")
    return 1 if failures else 0


sys.exit(main())

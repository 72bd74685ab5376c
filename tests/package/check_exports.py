#!/usr/bin/env python3
"""Checks the dynamic symbol table of the built shared library against ProtectedInterfaces/.

Usage: check_exports.py LIBRARY HEADER_DIR SONAME

Fails (exit 1, one line per fault) when
  - the library's SONAME is not SONAME;
  - an exported symbol belongs to no class or function that a public header defines or declares
    (internal classes, dvk:: helpers, the XML parser's types);
  - a class that a public header defines has code in the library but exports none of it.
"""
import pathlib
import re
import subprocess
import sys

# Symbols of the C++ runtime that any shared C++ library carries: template instantiations of the
# standard library over public types are part of the public API.
RUNTIME_OWNERS = {"std", "__gnu_cxx", "__cxxabiv1", "operator new", "operator delete"}
FORBIDDEN = ("dvk::", "pugi::")
SPECIAL_PREFIXES = ("typeinfo name for ", "typeinfo for ", "vtable for ", "VTT for ",
                    "construction vtable for ", "guard variable for ", "non-virtual thunk to ",
                    "virtual thunk to ", "covariant return thunk to ")


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    return re.sub(r"^\s*#[^\n]*", " ", text, flags=re.M)


def public_names(header_dir):
    """Classes defined at file scope, and functions and variables declared there, in every public header."""
    classes, functions = set(), set()
    for header in sorted(pathlib.Path(header_dir).glob("*.h")):
        text = strip_comments(header.read_text(encoding="utf-8"))
        depth = 0
        statement = ""
        for token in re.findall(r"[{};]|[^{};]+", text):
            if token == "{":
                if depth == 0:
                    head = statement.strip()
                    found = re.search(r"\b(?:class|struct|union)\s+(\w+)\s*(?:final\b)?\s*(?::[^{]*)?$", head)
                    if found:
                        classes.add(found.group(1))
                    elif re.search(r"\(", head) and not head.startswith("extern"):
                        add_function(head, functions)
                    if head.startswith('extern "C"'):
                        statement = ""
                        continue
                    statement = ""
                depth += 1
            elif token == "}":
                depth = max(depth - 1, 0)
                statement = ""
            elif token == ";":
                if depth == 0:
                    add_function(statement.strip(), functions)
                statement = ""
            else:
                statement += token
    return classes, functions


def add_function(statement, functions):
    """Adds the name of a function or variable that a file-scope declaration introduces."""
    if not statement or re.match(r"(typedef|using|static_assert|class|struct|enum|template\s*<.*>\s*class)\b", statement):
        return
    variable = re.match(r"[^(=]*?(\w+)\s*(?:\[[^\]]*\])?\s*(?:=|$)", statement, flags=re.S)
    if variable and "(" not in statement.split("=")[0]:
        functions.add(variable.group(1))
        return
    found = re.search(r"(operator\s*[^\s(]+|\w+)\s*\([^()]*\)\s*(?:const)?\s*$", statement, flags=re.S)
    if found:
        functions.add(re.sub(r"\s+", "", found.group(1)))


def owner(symbol):
    """The outermost name a demangled symbol belongs to: the class for members, the function itself."""
    for prefix in SPECIAL_PREFIXES:
        if symbol.startswith(prefix):
            return owner(symbol[len(prefix):])
    # An unoptimised build emits instantiations whose return type comes first: "decltype (...) f(...)"
    # and "T (&f(...))[N]" name f.
    if symbol.startswith("decltype ("):
        depth = 0
        for i, ch in enumerate(symbol):
            depth += ch == "("
            depth -= ch == ")"
            if ch == ")" and depth == 0:
                symbol = symbol[i + 1:].strip()
                break
    wrapped = re.match(r"^[\w\s:<>,]*\([&*]+(?=[\w:]+[<(])", symbol)
    if wrapped:
        symbol = symbol[wrapped.end():]
    # A function template instantiation starts with its return type ("Node* std::copy<...>(...)").
    while True:
        depth, cut = 0, -1
        for i, ch in enumerate(symbol):
            depth += ch in "<("
            depth -= ch in ">)"
            if depth == 0 and ch == " " and not symbol[:i].endswith("operator"):
                cut = i
                break
            if depth == 1 and ch == "(":
                break
        if cut < 0 or "operator" in symbol[:cut]:
            break
        symbol = symbol[cut + 1:]
    depth = 0
    name = ""
    for i, ch in enumerate(symbol):
        if ch == "<":
            depth += 1
        elif ch == ">":
            depth -= 1
        elif depth == 0 and ch == "(":
            break
        elif depth == 0 and symbol.startswith("::", i):
            break
        elif depth == 0 and ch == " " and not name.startswith("operator"):
            name = ""
            continue
        if depth == 0 and ch not in "<>":
            name += ch
    name = name.split("<")[0].strip()
    return name


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def defined_symbols(library, dynamic):
    options = ["nm", "--defined-only", "-C"] + (["-D"] if dynamic else [])
    out = run(*options, library)
    symbols = []
    for line in out.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3:
            symbols.append((parts[1], parts[2]))
    return symbols


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    library, header_dir, soname = sys.argv[1:]
    faults = []

    dynamic_section = run("readelf", "-d", library)
    found = re.search(r"\(SONAME\)\s+Library soname: \[([^\]]+)\]", dynamic_section)
    if not found or found.group(1) != soname:
        faults.append(f"SONAME is {found.group(1) if found else 'missing'}, expected {soname}")

    classes, functions = public_names(header_dir)
    allowed = classes | functions | RUNTIME_OWNERS
    exported = defined_symbols(library, dynamic=True)
    exported_owners = set()
    for kind, symbol in exported:
        if kind in "AU" or symbol.startswith("_"):
            continue  # version nodes and the linker's own (_init, _fini, __bss_start...)
        name = owner(symbol)
        exported_owners.add(name)
        if any(word in symbol for word in FORBIDDEN) or name not in allowed:
            faults.append(f"exported but not public: {symbol}")

    all_symbols = defined_symbols(library, dynamic=False)
    if not all_symbols:
        faults.append("the library has no symbol table to compare with (stripped?)")
    present_classes = {owner(symbol) for _, symbol in all_symbols} & classes
    for name in sorted(present_classes - exported_owners):
        faults.append(f"public class {name} (ProtectedInterfaces/) has code in the library "
                      "but exports none of it")

    for fault in faults:
        print(fault)
    print(f"{len(exported)} exported symbols, {len(classes)} public classes, "
          f"{len(functions)} public functions, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

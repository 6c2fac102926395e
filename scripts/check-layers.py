#!/usr/bin/env python3
"""Checks that every module under src/ includes only itself and the modules above it.

The layer order is the module table of docs/architecture.md (one row per layer, several folders in a
row form one layer). An include is resolved like the compiler does: first beside the including file,
then as "<module>/<file>" from the include roots. The windows stay thin: no file of a window module
includes a header of the records or astronomy modules directly; they reach them through the session.
Prints each offending line and exits 1 if there is any. --root DIR checks another tree (the tests).
"""
import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
if len(sys.argv) == 3 and sys.argv[1] == '--root':
    ROOT = os.path.abspath(sys.argv[2])
SRC = os.path.join(ROOT, 'src')
DOC = os.path.join(ROOT, 'docs', 'architecture.md')
# The window modules and the modules they reach only through the session.
WINDOWS = {'workspace', 'manager'}
BEHIND_SESSION = {'database', 'astronomy'}
# Manager windows that still read and write records directly; each leaves this list as its logic
# moves below the windows.
STILL_DIRECT = set()
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
ROW = re.compile(r'^\|\s*(`[^|]*`)\s*\|')


def layers():
    """Module folder -> layer number, from the first column of the table in docs/architecture.md."""
    order = {}
    with open(DOC, encoding='utf-8') as f:
        for line in f:
            m = ROW.match(line)
            if not m:
                continue
            names = re.findall(r'`([a-z_]+)/`', m.group(1))
            level = len(set(order.values()))
            for name in names:
                order[name] = level
    if not order:
        sys.exit(f'{DOC}: no module table found')
    return order


def module_of(path):
    rel = os.path.relpath(path, SRC)
    return rel.split(os.sep)[0] if not rel.startswith('..') else None


def main():
    order = layers()
    problems = []
    for folder in sorted(os.listdir(SRC)):
        base = os.path.join(SRC, folder)
        if not os.path.isdir(base):
            continue
        if folder not in order:
            problems.append(f'src/{folder}/: not in the module table of docs/architecture.md')
            continue
        for dirpath, _, files in os.walk(base):
            for name in sorted(files):
                if not name.endswith(('.h', '.cpp', '.in')):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(1)
                        beside = os.path.normpath(os.path.join(dirpath, target))
                        used = module_of(beside) if os.path.exists(beside) else target.split('/')[0]
                        if used not in order or used == folder:
                            continue  # a file of its own, or one from outside src/ (generated, system)
                        where = os.path.relpath(path, ROOT)
                        if order[used] > order[folder]:
                            problems.append(f'{where}:{number}: {folder}/ includes "{target}" from {used}/, '
                                            f'which is below it in docs/architecture.md')
                        elif (folder in WINDOWS and used in BEHIND_SESSION
                              and where.replace(os.sep, '/') not in STILL_DIRECT):
                            problems.append(f'{where}:{number}: the window module {folder}/ includes "{target}" '
                                            f'from {used}/: windows reach it through session/')
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())

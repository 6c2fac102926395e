#!/usr/bin/env python3
"""The layer check on small source trees: an include from a lower layer, and a window module that
includes a records or astronomy header directly, fail it; the session between them passes."""
import os
import shutil
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'check-layers.py')
TABLE = """| Folder under `src/` | Holds | Uses |
|---|---|---|
| `common/` | a | b |
| `astronomy/` | a | b |
| `database/` | a | b |
| `session/` | a | b |
| `manager/`, `workspace/` | a | b |
"""

CASES = [
    # (file, its text, whether the check passes, a part of the message)
    ('src/workspace/form.cpp', '#include "session/session.h"\n', True, ''),
    ('src/workspace/form.cpp', '#include "database/database.h"\n', False, 'windows reach it through session/'),
    ('src/manager/window.h', '#include "astronomy/angle_text.h"\n', False, 'windows reach it through session/'),
    ('src/workspace/form.cpp', '#include "common/date_time.h"\n', True, ''),
    ('src/session/session.cpp', '#include "database/database.h"\n', True, ''),
    ('src/session/session.cpp', '#include "workspace/form.h"\n', False, 'which is below it'),
]


def run(tree, path, text):
    for folder in ('common', 'astronomy', 'database', 'session', 'manager', 'workspace'):
        os.makedirs(os.path.join(tree, 'src', folder), exist_ok=True)
    os.makedirs(os.path.join(tree, 'docs'), exist_ok=True)
    with open(os.path.join(tree, 'docs', 'architecture.md'), 'w', encoding='utf-8') as f:
        f.write(TABLE)
    with open(os.path.join(tree, path), 'w', encoding='utf-8') as f:
        f.write(text)
    return subprocess.run([sys.executable, SCRIPT, '--root', tree], capture_output=True, text=True)


def main():
    failures = 0
    for path, text, passes, message in CASES:
        tree = tempfile.mkdtemp(prefix='check_layers_')
        try:
            result = run(tree, path, text)
        finally:
            shutil.rmtree(tree)
        ok = (result.returncode == 0) == passes and message in result.stdout
        if not ok:
            failures += 1
            print(f'FAIL {path} {text.strip()}: exit {result.returncode}, output {result.stdout!r}')
    print(f'{len(CASES) - failures} of {len(CASES)} cases pass')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""Every include of the program's sources looks down the layers or across its
own: base, framework, platforms, game, programs. The SDL shell both platforms
share includes neither platform's own folder, and the two never include each
other. Prints each include that runs the wrong way and fails if there is one."""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..')
RANKS = {'base': 0, 'framework': 1, 'platforms': 2, 'game': 3, 'programs': 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer(path):
    """(rank, platform) of a root-relative path, or None outside the layers."""
    parts = path.split('/')
    if parts[0] not in RANKS:
        return None
    platform = parts[1] if parts[0] == 'platforms' and len(parts) > 2 else None
    return RANKS[parts[0]], platform


def wrong_way(source, included):
    mine, theirs = layer(source), layer(included)
    if mine is None or theirs is None:
        return False
    if theirs[0] != mine[0]:
        return theirs[0] > mine[0]
    # Within the platforms: the shared shell (SDL1.2Backend) is below both.
    shared = 'SDL1.2Backend'
    return theirs[1] not in (mine[1], shared, None) or (mine[1] == shared and theirs[1] != shared)


def main():
    faults = []
    count = 0
    for top in RANKS:
        for folder, _, files in os.walk(os.path.join(ROOT, top)):
            for name in files:
                if not name.endswith(('.h', '.cpp')):
                    continue
                path = os.path.join(folder, name)
                source = os.path.relpath(path, ROOT)
                with open(path, encoding='utf-8') as f:
                    for included in INCLUDE.findall(f.read()):
                        count += 1
                        if wrong_way(source, included):
                            faults.append('%s includes %s' % (source, included))
    for fault in faults:
        print('upward: ' + fault)
    print('%d includes, %d upward' % (count, len(faults)))
    return 1 if faults or count == 0 else 0


if __name__ == '__main__':
    sys.exit(main())

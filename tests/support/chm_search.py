#!/usr/bin/python3
"""The pages pychm's full-text search finds in a help file: one line a word, the pages'
addresses separated by spaces. Usage: chm_search.py FILE CODEPAGE WORD... (exit 77 without
pychm)."""
import struct
import sys

try:
    import chm.chm
    import chm.extra
except ImportError:
    sys.exit(77)
chm.extra.struct = struct  # Debian's module uses struct without importing it

book = chm.chm.CHMFile()
if not book.LoadCHM(sys.argv[1]) or not book.IsSearchable():
    sys.exit("pychm cannot open or search " + sys.argv[1])
for word in sys.argv[3:]:
    _, found = book.Search(word.encode(sys.argv[2]), 1, 0)
    print(" ".join(sorted(url.decode(sys.argv[2], "replace").lstrip("/") for url in found.values())))

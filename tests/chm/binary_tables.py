#!/usr/bin/python3
"""Context help, binary contents and binary index (with the keywords and associative links
pages define) as hhc writes them for a Chinese project, read back with chmlib (pychm) and
decoded by help_tables; the same project without the options holds none of them."""
import os
import struct
import subprocess
import sys
import tempfile

try:
    import chm.chm
except ImportError:
    print("pychm (python3-chm) is not installed: skipped")
    sys.exit(77)
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from help_tables import HelpTables  # noqa: E402

HHC = os.path.abspath(sys.argv[1])
PAGES = ["index.htm", "sub/第一章.htm", "sub/two.htm"]
# (level, name, Local) as the contents file lists them; the same page twice under two names.
CONTENTS = [(0, "首页", "index.htm"), (0, "第一部分", None), (1, "第一章", "sub/第一章.htm"),
            (2, "第二节", "sub/two.htm#part"), (1, "Index again", "index.htm"), (0, "Last", "sub/two.htm")]
# (level, keyword, [(title, Local)], see also); sorted ignoring case on each level by hhc.
INDEX = [(0, "zebra", [("", "sub/two.htm")], ""), (0, "编译", [("", "sub/第一章.htm")], ""),
         (0, "Apple", [("Apple page", "index.htm"), ("Apple part", "sub/two.htm#part")], ""),
         (1, "red", [("", "sub/第一章.htm")], ""), (1, "Green", [("", "index.htm")], ""),
         (0, "fruit", [], "Apple")] + [(0, f"keyword {n:04} of a long generated index", [("", "index.htm")], "")
                                       for n in range(2000, 0, -1)]
# Keywords index.htm gives itself with the help control's object: one joins the index file's.
OBJECT = ('<OBJECT type="application/x-oleobject" classid="clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e">'
          '<param name="Keyword" value="zebra; 打印"><param name="ALink Name" value="Related;Other"></OBJECT>')
failures = []


def write(folder, name, text, encoding="utf-8"):
    os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(text.encode(encoding))


def sitemap(entries, extra):
    lines, level = ["<HTML><BODY><UL>"], 0
    for entry in entries:
        lines += ["<UL>"] * (entry[0] - level) + ["</UL>"] * (level - entry[0])
        level = entry[0]
        lines.append(f'<LI><OBJECT type="text/sitemap"><param name="Name" value="{entry[1]}">{extra(entry)}</OBJECT>')
    return "\n".join(lines + ["</UL>"] * (level + 1) + ["</BODY></HTML>"])


def compile_site(folder, options):
    for page in PAGES:
        body = page + (OBJECT if page == "index.htm" else "")
        write(folder, page, f"<html><head><title>{page}</title></head><body><p>{body}</p></body></html>")
    write(folder, "toc.hhc", sitemap(CONTENTS, lambda e: e[2] and f'<param name="Local" value="{e[2]}">'))
    write(folder, "index.hhk", sitemap(INDEX, lambda e: "".join(
        (f'<param name="Name" value="{t}">' if t else "") + f'<param name="Local" value="{u}">' for t, u in e[2])
        + (e[3] and f'<param name="See Also" value="{e[3]}">')))
    write(folder, "ids/ids.h", "#pragma once\n#define IDH_HOME 1001 // home\n#include \"more.h\"\n")
    write(folder, "ids/more.h", "#define IDH_PART 0x3EA\n#define IDH_LONELY 9\n")
    write(folder, "aliases.ali", "IDH_PART=sub/two.htm#part\nIDH_NOID=index.htm\n")
    project = ["[OPTIONS]", "Compiled file=out.chm", "Contents file=toc.hhc", "Index file=index.hhk",
               "Language=0x804", "Full-text search=Yes", "Title=测试", *options, "[FILES]", *PAGES,
               "[ALIAS]", "IDH_HOME = index.htm", "IDH_GONE=gone.htm", "#include aliases.ali",
               "[MAP]", "#include ids/ids.h", "#define IDH_GONE 77", ""]
    write(folder, "HH_KVEL.hhp", "\r\n".join(project))
    run = subprocess.run([HHC, "HH_KVEL.hhp"], cwd=folder, capture_output=True, text=True,
                         env=dict(os.environ, FOLVANE_HHC_NO_WINDOW="1"))
    book = chm.chm.CHMFile()
    if run.returncode != 0 or not book.LoadCHM(os.path.join(folder, "out.chm")):
        sys.exit(f"hhc failed with status {run.returncode}:\n{run.stdout}{run.stderr}")
    system = book.RetrieveObject(book.ResolveObject(b"/#SYSTEM")[1])[1]
    records, at = {}, 4
    while at < len(system):
        code, size = struct.unpack_from("<HH", system, at)
        records[code], at = system[at + 4:at + 4 + size], at + 4 + size
    return run.stdout, HelpTables(book, "gbk"), records


def expect(what, found, wanted):
    if found != wanted:
        at = next((i for i, (f, w) in enumerate(zip(found, wanted)) if f != w), min(len(found), len(wanted)))
        failures.append(f"{what}: {len(found)} items, {len(wanted)} wanted; at {at}: "
                        f"{found[at:at + 2]!r}, wanted {wanted[at:at + 2]!r}")


def expected_keywords():
    levels, out = {}, []
    for level, keyword, topics, see_also in INDEX:
        levels.setdefault(level, []).append((keyword, topics + [("", "index.htm")] * (keyword == "zebra"), see_also,
                                             len(out)))
    tops = sorted(levels[0] + [("打印", [("", "index.htm")], "", 0)], key=lambda k: k[0].lower())
    children = sorted(levels[1], key=lambda k: k[0].lower())
    for keyword, topics, see_also, _ in tops:
        out.append((0, keyword, 0, see_also or [u for _, u in topics]))
        if keyword == "Apple":
            out += [(1, f"Apple, {k}", 7, [u for _, u in t]) for k, t, _, _ in children]
    return out


with tempfile.TemporaryDirectory() as folder:
    output, tables, system = compile_site(folder, ["Binary TOC=Yes", "Binary Index=Yes"])
    for line in ["more.h 第 2 行：编号 IDH_LONELY 在 [ALIAS] 中没有别名",
                 "aliases.ali 第 2 行：别名 IDH_NOID 在 [MAP] 中没有编号",
                 "HH_KVEL.hhp 第 16 行：别名指向的文件不在帮助文件里：gone.htm"]:
        if line not in output:
            failures.append(f"no warning {line!r} in:\n{output}")
    expect("#IVB", tables.context_ids(), {1001: "index.htm", 0x3EA: "sub/two.htm#part", 77: "gone.htm"})
    expect("#TOCIDX", tables.contents(), [(level, name, local) for level, name, local in CONTENTS])
    keywords = tables.keywords()
    expect("$WWKeywordLinks", keywords, expected_keywords())
    expect("index levels above the keywords", tables.index_depth, 3)
    expect("$WWAssociativeLinks", tables.keywords("$WWAssociativeLinks"),
           [(0, "Other", 0, ["index.htm"]), (0, "Related", 0, ["index.htm"])])
    expect("#SYSTEM binary index and contents", struct.unpack_from("<II", system[4], 12) + (7 in system, 11 in system),
           (1, 1, True, True))
with tempfile.TemporaryDirectory() as folder:
    _, tables, system = compile_site(folder, ["Binary TOC=No"])
    expect("without the options", [tables.file(n) is None for n in ("/#TOCIDX", "/$WWKeywordLinks/BTree",
                                                                     "/$WWAssociativeLinks/BTree")]
           + [7 in system, 11 in system, tables.context_ids()[1001]], [True] * 3 + [False, False, "index.htm"])
for failure in failures:
    print("FAIL", failure)
print(f"context IDs, contents and {len(INDEX)} keywords read back, {len(failures)} failed")
sys.exit(1 if failures else 0)

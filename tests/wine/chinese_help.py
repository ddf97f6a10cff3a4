#!/usr/bin/python3
"""A Chinese site and its project for hhc.exe, and the help file it compiles read back by
the Linux readers: chmlib through pychm, 7-Zip, pychm's search and the context IDs decoded by
tests/chm/help_tables.py.

  chinese_help.py make FOLDER WINDOWS_FOLDER ENCODING [LANGUAGE]
  chinese_help.py check FOLDER LCID
"""
import os
import subprocess
import sys
import tempfile

try:
    import struct
    import chm.chm
    import chm.extra
except ImportError:
    sys.exit("pychm (python3-chm) is not installed")
chm.extra.struct = struct  # Debian's module uses struct without importing it
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "chm"))
from help_tables import HelpTables  # noqa: E402

# Name in the project, encoding on disk, title, body. Links are written as Windows paths.
PAGES = [("index.htm", "utf-8", "首页", "欢迎使用帮助文件"),
         ("子目录\\第一章.htm", "gbk", "第一章 编译", "编译器把网页编成帮助文件"),
         ("子目录/第二章.htm", "gbk", "第二章 搜索", "全文搜索找到页面")]
PICTURE = ("图片\\图.png", bytes(range(256)) * 3)
SEARCHES = {"编": "子目录/第一章.htm", "搜": "子目录/第二章.htm", "欢": "index.htm"}
# Context help: [MAP] includes a header from a sub-folder, [ALIAS] an alias file.
CONTEXT_FILES = {"context\\ids.h": "#define IDH_HOME 1001\r\n#define IDH_CHAPTER2 0x3EA\r\n",
                 "context\\pages.ali": "IDH_CHAPTER2=子目录\\第二章.htm\r\n"}
CONTEXT_IDS = {1001: "index.htm", 0x3EA: "子目录/第二章.htm"}


def native(name):
    return name.replace("\\", "/")


def make(folder, windows_folder, encoding, language=None):
    for name, page_encoding, title, body in PAGES:
        head = '<meta http-equiv="Content-Type" content="text/html; charset=gb2312">' if page_encoding == "gbk" else ""
        page = f"<html><head>{head}<title>{title}</title></head><body><p>{body}</p></body></html>\r\n"
        write(os.path.join(folder, native(name)), page.encode(page_encoding))
    write(os.path.join(folder, native(PICTURE[0])), PICTURE[1])
    entries = "".join(f'<LI><OBJECT type="text/sitemap"><param name="Name" value="{title}">'
                      f'<param name="Local" value="{name}"></OBJECT>\r\n' for name, _, title, _ in PAGES)
    write(os.path.join(folder, "HH_KVEL.hhc"), f"<HTML><BODY><UL>\r\n{entries}</UL></BODY></HTML>\r\n".encode(encoding))
    # As the program writes it: the output and the first page as full Windows paths.
    options = ["[OPTIONS]", "Compatibility=1.1 or later", f'Compiled file="{windows_folder}\\帮助.chm"',
               "Contents file=HH_KVEL.hhc", "Default topic=index.htm", "Full-text search=Yes", "Title=帮助测试"]
    options += [f"Language={language}"] if language else []
    files = [f"{windows_folder}\\{PAGES[0][0]}"] + [name for name, *_ in PAGES[1:]] + [PICTURE[0]]
    context = ["[ALIAS]", "IDH_HOME=index.htm", "#include context\\pages.ali", "[MAP]", "#include context\\ids.h"]
    for name, text in CONTEXT_FILES.items():
        write(os.path.join(folder, native(name)), text.encode(encoding))
    write(os.path.join(folder, "HH_KVEL.hhp"),
          "\r\n".join(options + ["", "[FILES]"] + files + context + [""]).encode(encoding))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def has_context_map(folder):
    return any(b"[MAP]" in open(os.path.join(folder, name), "rb").read()
               for name in os.listdir(folder) if name.lower().endswith(".hhp"))


def check(folder, lcid):
    failures = []
    book = chm.chm.CHMFile()
    if not book.LoadCHM(os.path.join(folder, "帮助.chm")):
        sys.exit("chmlib cannot open 帮助.chm")
    if book.lcid != lcid:
        failures.append(f"language 0x{book.lcid or 0:X}, expected 0x{lcid:X}")
    sources = {native(name): open(os.path.join(folder, native(name)), "rb").read() for name, *_ in PAGES}
    sources[native(PICTURE[0])] = PICTURE[1]
    with tempfile.TemporaryDirectory() as extracted:
        subprocess.run(["7z", "x", "-y", f"-o{extracted}", os.path.join(folder, "帮助.chm")], check=True,
                       stdout=subprocess.DEVNULL)
        for name, data in sources.items():
            found, entry = book.ResolveObject(("/" + name).encode("utf-8"))
            stored = book.RetrieveObject(entry)[1] if found == chm.chm.chmlib.CHM_RESOLVE_SUCCESS else None
            if stored != data:
                failures.append(f"chmlib: {name} differs from its source")
            path = os.path.join(extracted, name)
            if not os.path.exists(path) or open(path, "rb").read() != data:
                failures.append(f"7-Zip: {name} differs from its source")
    if lcid == 0x804:
        contents = book.GetTopicsTree() or b""
        titles = [title for _, _, title, _ in PAGES]
        if not all(title.encode("gbk") in contents for title in titles):
            failures.append(f"contents file not in GBK: {contents[:160]!r}")
        if not book.IsSearchable():
            failures.append("no full-text search")
        for word, page in SEARCHES.items():
            found = {url.decode("gbk", "replace").lstrip("/") for url in book.Search(word.encode("gbk"), 1, 0)[1].values()}
            if found != {page}:
                failures.append(f"search {word}: {sorted(found)}, expected {page}")
        # A project written by the program itself has no context help.
        if has_context_map(folder):
            context_ids = HelpTables(book, "gbk").context_ids()
            if context_ids != CONTEXT_IDS:
                failures.append(f"context IDs {context_ids}, expected {CONTEXT_IDS}")
    for failure in failures:
        print("FAIL", failure)
    print(f"help file: language 0x{book.lcid or 0:X}, {len(sources)} files read back by chmlib and 7-Zip"
          + (", search and context IDs checked" if lcid == 0x804 else "") + f", {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(*sys.argv[2:])
    else:
        sys.exit(check(sys.argv[2], int(sys.argv[3], 16)))

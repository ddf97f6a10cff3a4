#!/usr/bin/python3
"""hhc's full-text index read back by pychm: generated sites whose words are known by
construction, then a real documentation set checked against a reference extraction."""
import html.parser
import os
import random
import re
import subprocess
import sys
import tempfile
import time

try:
    import struct
    import chm.chm
    import chm.extra
    import chm.chmlib
except ImportError:
    print("pychm (python3-chm) is not installed: skipped")
    sys.exit(77)
chm.extra.struct = struct  # Debian's module uses struct without importing it

HHC = os.path.abspath(sys.argv[1])
DOCS = "/usr/share/doc/postgresql-doc-15/html"
failures = []
totals = [0, 0]  # expected pages, pages found of them


def compile_project(folder, language, files, extra_options=(), hhc_options=(), output="site.chm"):
    options = ["[OPTIONS]", f"Compiled file={output}", "Title=测试", f"Language={language}",
               "Full-text search=Yes", f"Default topic={files[0]}", *extra_options, "", "[FILES]", *files, ""]
    with open(os.path.join(folder, "site.hhp"), "w", encoding="utf-8") as hhp:
        hhp.write("\n".join(options))
    run = subprocess.run([HHC, *hhc_options, "site.hhp"], cwd=folder, capture_output=True, text=True)
    if run.returncode != 0 or "全文搜索" not in run.stdout:
        sys.exit(f"hhc failed with status {run.returncode}:\n{run.stdout}{run.stderr}")
    print(next(line for line in run.stdout.splitlines() if "全文搜索" in line))
    book = chm.chm.CHMFile()
    if not book.LoadCHM(os.path.join(folder, output)) or not book.IsSearchable():
        sys.exit("pychm cannot open or search the help file")
    return book


def full_text(book):
    found, unit = book.ResolveObject(b"/$FIftiMain")
    return book.RetrieveObject(unit)[1] if found == chm.chmlib.CHM_RESOLVE_SUCCESS else b""


def same_index_in_little_memory(site, book, folder, language, files, extra_options=()):
    """One megabyte for the words: they go to sorted runs on disk and come back the same."""
    small = compile_project(folder, language, files, extra_options, ["--index-memory", "1"], "small.chm")
    if full_text(small) != full_text(book):
        failures.append(f"{site}: the index built in one megabyte differs")
    if [name for name in os.listdir(folder) if name.startswith(".folvane-")]:
        failures.append(f"{site}: temporary files left behind")


def search(book, word, codepage):
    try:
        query = word.encode(codepage)
    except UnicodeEncodeError:  # stored as UTF-8 when the code page lacks a character
        query = word.encode("utf-8")
    _, found = book.Search(query, 1, 0)
    return {url.decode("utf-8", "replace").lstrip("/") for url in found.values()}


def check(site, word, expected, found, covered=None, strict=True):
    """covered: the expected pages accounted for, where results collapse by title."""
    covered = expected & found if covered is None else covered
    missing, extra = expected - covered, found - expected
    totals[0] += len(expected)
    totals[1] += len(covered)
    print(f"{site:6} {word[:12]:12} expected {len(expected):4}  found {len(found):4}"
          f"  missing {len(missing):3}  extra {len(extra):3}")
    if len(covered) < 0.95 * len(expected) or (strict and extra):
        failures.append(f"{site} {word!r}: missing {sorted(missing)[:5]} extra {sorted(extra)[:5]}")
    return missing, extra


# ---- Generated sites: every page's words are recorded as the page is written.

COMMON = "the and help file search page window compile topic table content link print open save".split()
DIGITS = ["utf8", "2024", "x86_64", "v2"]
ACCENTED = {"café": "caf&eacute;", "über": "&#252;ber", "naïve": "na&#xEF;ve", "привет": "&#1087;ривет",
            "έναρξη": "&#904;ναρξη"}
CJK = ["中", "文", "编译", "帮助", "文件", "搜索", "编译器", "全文搜索", "帮助文件"]
HIDDEN = {"scriptword": '<script>var s = "<p>scriptword</p>";</script>',
          "styleword": "<style>.styleword { color: red }</style>",
          "commentword": "<!-- commentword <p>commentword</p> -->",
          "attrword": '<img alt="attrword" src="attrword.png">'}
SPLITS = {"foo<b>bar</b>": {"foobar"}, 'foo<SPAN class="k">bar</SPAN>': {"foobar"}, "foo": {"foo"},
          "alpha<br>beta": {"alpha", "beta"}, "alpha<TD>beta": {"alpha", "beta"},
          "alpha<h2>beta</h2>": {"alpha", "beta"}, "left&nbsp;right": {"left", "right"},
          'sub<a href="a>b.htm" title="attrword">way</a>': {"subway"}}
RARE = {"zymurgy": {17}, "quixotic": {3, 151}, "k" * 99: {40}}
TOO_LONG = "m" * 100  # neither it nor a cut form of it is a word


def cjk_words(run):
    """The index's words of a Chinese run, its characters; the run itself is kept to check
    longer words, which readers find character by character."""
    return set(run) | {("run", run)}


def make_page(n, rng, encoding, head):
    tokens, hidden, words = [], [], {str(n)} | cjk_words("页面")
    title = f"页面 {n}" + (" Caption" if n % 7 == 0 else "")  # "caption" only ever in titles
    words |= {"caption"} if n % 7 == 0 else set()
    for w in COMMON + DIGITS:
        if rng.random() < 0.4:
            tokens.append((rng.choice([w, w.upper(), w.capitalize()]), {w}))
    for w, entity in ACCENTED.items():
        if rng.random() < 0.3:
            raw = rng.choice([w, w.capitalize(), w.upper()])
            form = raw if rng.random() < 0.5 and raw.encode(encoding, "ignore").decode(encoding) == raw else entity
            tokens.append((form, {w}))
    for w in CJK:
        if rng.random() < 0.2:
            tokens.append((w, cjk_words(w)))
    for markup, ws in SPLITS.items():
        if rng.random() < 0.2:
            tokens.append((markup, ws))
    for w, markup in HIDDEN.items():
        chance = rng.random()
        if chance < 0.3:
            tokens.append((w, {w}))
        elif chance < 0.7:
            hidden.append(markup)
    tokens += [(w, {w}) for w, pages in RARE.items() if n in pages] + [(TOO_LONG, set())] * (n == 40)
    rng.shuffle(tokens)
    paragraphs = ["<p>" + " ".join(t for t, _ in tokens[i:i + 6]) + "</p>" for i in range(0, len(tokens), 6)]
    for markup in hidden:
        paragraphs.insert(rng.randrange(len(paragraphs) + 1), markup)
    for _, ws in tokens:
        words |= ws
    page = (f"<html><head>{head}<title>{title}</title></head>\n<body>\n"
            + "\n".join(paragraphs) + "\n</body></html>\n")
    return page.encode(encoding), words


EXTENSIONS = [".htm", ".html", ".xhtml", ".xht", ".shtml", ".shtm", ".stm"]


def generated_chinese(folder):
    rng = random.Random(20240611)
    kinds = [("utf-8", '<meta charset="utf-8">'),
             ("gbk", '<meta http-equiv="Content-Type" content="text/html; charset=gb2312">'),
             ("gbk", ""),  # undeclared and not UTF-8: the language's code page
             ("utf-8-sig", ""), ("utf-8", "")]
    files, words_of = [], {}
    for n in range(200):
        name = ("sub/" if n % 2 else "") + f"p{n:03}" + EXTENSIONS[n % len(EXTENSIONS)]
        data, words = make_page(n, rng, *kinds[n % len(kinds)])
        os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
        with open(os.path.join(folder, name), "wb") as page:
            page.write(data)
        files.append(name)
        words_of[name] = words
    with open(os.path.join(folder, "notes.txt"), "w") as notes:  # not a page: not indexed
        notes.write("zymurgy help")
    keywords = "".join(f'<LI><OBJECT type="text/sitemap"><param name="Name" value="{k}">'
                       f'<param name="Local" value="{files[i]}"></OBJECT>\n' for i, k in enumerate(["编译器", "搜索"]))
    with open(os.path.join(folder, "keywords.hhk"), "w", encoding="utf-8") as hhk:
        hhk.write(f"<HTML><BODY><UL>\n{keywords}</UL></BODY></HTML>\n")
    book = compile_project(folder, "0x804", files + ["notes.txt"], ["Index file=keywords.hhk"])
    same_index_in_little_memory("zh", book, folder, "0x804", files + ["notes.txt"], ["Index file=keywords.hhk"])
    # The hand-written keyword index, in the language's code page, named for viewers' index tab.
    stored = (book.GetIndex() or b"").decode("gbk", "replace")
    if book.index != b"/keywords.hhk" or "编译器" not in stored or f'"{files[1]}"' not in stored:
        failures.append(f"zh: keyword index {book.index!r} stored as {stored[:120]!r}")
    queries = (COMMON[:8] + DIGITS + list(ACCENTED) + [w for w in CJK if len(w) == 1] + list(HIDDEN)
               + ["foobar", "foo", "bar", "alpha", "beta", "alphabeta", "left", "right", "subway",
                  "caption", "页", "面", "199", TOO_LONG, TOO_LONG[:99]] + list(RARE))
    for word in queries:
        check("zh", word, {p for p, ws in words_of.items() if word in ws}, search(book, word, "gbk"))
    for word in (w for w in CJK + ["页面"] if len(w) > 1):  # the pages that hold all its characters
        found = set.intersection(*(search(book, c, "gbk") for c in word))
        check("zh", word, {p for p, ws in words_of.items() if ("run", word) in ws}, found, strict=False)


def generated_english(folder):
    pages = {"e0.htm": ('<meta charset="utf-8"><title>One</title>', "Café über naïve привет 编译器 Straße", "utf-8"),
             "e1.htm": ("<title>Two</title>", "CAFÉ naïve", "cp1252"),  # undeclared, not UTF-8
             "e2.htm": ('<meta http-equiv="content-type" content="text/html;charset=windows-1252"><title>Three</title>',
                        "Über straße", "cp1252"),
             "e3.htm": ("<title>Four</title>", "caf&eacute; &#x43F;ривет &#32534;", "utf-8")}
    for name, (head, body, encoding) in pages.items():
        with open(os.path.join(folder, name), "wb") as page:
            page.write(f"<html><head>{head}</head><body><p>{body}</p></body></html>".encode(encoding))
    book = compile_project(folder, "0x409", list(pages))
    if book.Search(b"caf\xe9", 1, 0)[1].get(b"One") != b"e0.htm":
        failures.append("en: b'caf\\xe9' does not find e0.htm")
    expected = {"café": {"e0.htm", "e1.htm", "e3.htm"}, "über": {"e0.htm", "e2.htm"},
                "naïve": {"e0.htm", "e1.htm"}, "привет": {"e0.htm", "e3.htm"}, "straße": {"e0.htm", "e2.htm"},
                "编": {"e0.htm", "e3.htm"}, "译": {"e0.htm"}, "two": {"e1.htm"}}
    for word, pages_with in expected.items():
        check("en", word, pages_with, search(book, word, "cp1252"))


# ---- A real documentation set against a reference extraction.

BLOCK = set("address article aside blockquote body br caption center dd div dl dt fieldset figcaption figure "
            "footer form h1 h2 h3 h4 h5 h6 head header hr html li main nav ol p pre section table tbody td "
            "tfoot th thead title tr ul".split())
WORD = re.compile("[0-9A-Za-z_\u00C0-\u00D6\u00D8-\u00F6\u00F8-\u024F\u0370-\u03FF\u0400-\u04FF]+")


class Reference(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.text, self.title, self.hidden, self.in_title = [], [], 0, False

    def handle_starttag(self, tag, attrs):
        self.hidden += tag in ("script", "style")
        self.in_title |= tag == "title"
        if tag in BLOCK:
            self.text.append(" ")

    def handle_endtag(self, tag):
        if tag in ("script", "style"):
            self.hidden = max(self.hidden - 1, 0)
        self.in_title &= tag != "title"
        if tag in BLOCK:
            self.text.append(" ")

    def handle_startendtag(self, tag, attrs):
        if tag in BLOCK:
            self.text.append(" ")

    def handle_data(self, data):
        if not self.hidden:
            self.text.append(data)
            if self.in_title:
                self.title.append(data)


def context(text, word):
    at = text.lower().find(word)
    return repr(text[max(at - 60, 0):at + len(word) + 60]) if at >= 0 else "(word not in the text)"


def documentation_set(folder):
    if not os.path.isdir(DOCS):
        print(f"{DOCS} is missing (apt-get install postgresql-doc-15): real documentation skipped")
        return
    os.symlink(DOCS, os.path.join(folder, "html"))
    files = sorted(f"html/{name}" for name in os.listdir(DOCS) if name.endswith(".html"))
    text_of, title_of, words_of = {}, {}, {}
    for name in files:
        with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as page:
            parser = Reference()
            parser.feed(page.read())
            parser.close()
        text_of[name] = "".join(parser.text)
        title_of[name] = " ".join("".join(parser.title).split())
        words_of[name] = {w for w in WORD.findall(text_of[name].lower()) if len(w.encode()) <= 99}
    book = compile_project(folder, "0x409", files)
    same_index_in_little_memory("docs", book, folder, "0x409", files)
    for word in ["postgresql", "autovacuum", "vacuum", "pg_dump", "wal", "9", "utf8", "x86_64", "álvaro",
                 "josé", "reiß", "π", "hoffstätte", "select", "the"]:
        expected = {p for p in files if word in words_of[p]}
        found = search(book, word, "cp1252")
        titles_found = {title_of.get(p) for p in found}
        missing, extra = check("docs", word, expected, found, {p for p in expected if title_of[p] in titles_found})
        for page in sorted(extra)[:3]:
            with open(os.path.join(folder, page), encoding="utf-8", errors="replace") as source:
                print(f"    extra {page}: reference text {context(text_of[page], word)}\n"
                      f"      source {context(source.read(), word)}")
        for page in sorted(missing)[:3]:
            print(f"    missing {page}: {context(text_of[page], word)}")


start = time.monotonic()
with tempfile.TemporaryDirectory() as zh, tempfile.TemporaryDirectory() as en, \
        tempfile.TemporaryDirectory() as docs:
    generated_chinese(zh)
    generated_english(en)
    documentation_set(docs)
print(f"recall {totals[1]}/{totals[0]}, {time.monotonic() - start:.1f} s")
if totals[1] < 0.95 * totals[0]:
    failures.append("overall recall below 95%")
for failure in failures:
    print("FAIL", failure)
sys.exit(1 if failures else 0)

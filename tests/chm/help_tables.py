"""Reads the tables of a help file that context help, the binary contents and the binary index
use, from the format's public description, and fails loudly on any structure that breaks it:
#IVB, #TOCIDX with the topic tables (#TOPICS, #URLTBL, #URLSTR, #STRINGS) and the four files
of $WWKeywordLinks."""
import struct


class HelpTables:
    def __init__(self, book, codepage):
        """book: a chm.chm.CHMFile that is open; codepage: the help file's, as Python names it."""
        self.book, self.codepage, self.files = book, codepage, {}
        self.strings = self.file("/#STRINGS")

    def file(self, name):
        if name not in self.files:
            found, entry = self.book.ResolveObject(name.encode())
            self.files[name] = self.book.RetrieveObject(entry)[1] if found == 0 else None
        return self.files[name]

    def string(self, offset):
        assert offset // 4096 == self.strings.index(b"\0", offset) // 4096, f"#STRINGS {offset} crosses a block"
        return self.strings[offset:self.strings.index(b"\0", offset)].decode(self.codepage)

    def topic(self, index):
        """(title, url, offset of its binary contents entry)"""
        topics, table, urls = self.file("/#TOPICS"), self.file("/#URLTBL"), self.file("/#URLSTR")
        contents, title, entry = struct.unpack_from("<III", topics, index * 16)
        at = struct.unpack_from("<I", table, entry + 8)[0] + 8
        url = urls[at:urls.index(b"\0", at)].decode(self.codepage)
        return (None if title == 0xFFFFFFFF else self.string(title)), url, contents

    def context_ids(self):
        """{ID: page} from #IVB, a byte count and (ID, #STRINGS offset) pairs."""
        ivb = self.file("/#IVB")
        size = struct.unpack_from("<I", ivb)[0]
        assert size == len(ivb) - 4 and size % 8 == 0, "#IVB length"
        return {i: self.string(at) for i, at in struct.iter_unpack("<II", ivb[4:])}

    def contents(self):
        """[(level, name, url or None)] from #TOCIDX, in tree order."""
        toc = self.file("/#TOCIDX")
        first, entries_at, count, topics_at = struct.unpack_from("<IIII", toc)
        out, topic_entries = [], []

        def walk(at, parent, level):
            while at:
                _, _, flags, value, up, following = struct.unpack_from("<HHIIII", toc, at)
                size = 0x1C if flags & 4 else 0x14
                assert at // 4096 == (at + size - 1) // 4096 and up == parent, f"#TOCIDX entry at {at:#x}"
                if flags & 8:
                    title, url, _ = self.topic(value)
                    out.append((level, title, url))
                    topic_entries.append((value, at))
                else:
                    out.append((level, self.string(value), None))
                if flags & 4:
                    walk(struct.unpack_from("<I", toc, at + 0x14)[0], at, level + 1)
                at = following

        walk(first, 0, 0)
        for topic, _ in topic_entries:
            assert (topic, self.topic(topic)[2]) in topic_entries, f"#TOPICS {topic} does not point to its entry"
        topics = [struct.unpack_from("<I", toc, topics_at + 4 * i)[0] for i in range(count)]
        records = [struct.unpack_from("<III", toc, entries_at + 12 * i) for i in range(count)]
        assert [(topic, at) for at, _, topic in records] == topic_entries and topics == [t for t, _ in topic_entries], \
            "#TOCIDX tables"
        return out

    def keywords(self, name="$WWKeywordLinks"):
        """[(depth, keyword, shown from, [urls] or see-also)] from the listing blocks, in order, after
        checking the header, the index blocks above them and the Map file."""
        tree = self.file(f"/{name}/BTree")
        (signature, _, block, form, _, last, root, _, blocks, depth, count, codepage,
         _) = struct.unpack_from("<HHH16sIIIiIHIII", tree)
        assert signature == 0x293B and block == 2048 and form.rstrip(b"\0") == b"X44", "BTree header"
        assert len(tree) == 0x4C + blocks * block, "BTree length"
        out, firsts, number = [], {}, 0
        while number != -1:
            at = 0x4C + number * block
            free, entries, _, following = struct.unpack_from("<HHii", tree, at)
            cursor = at + 12
            for i in range(entries):
                keyword, cursor = self._entry(tree, cursor, listing=True)
                firsts.setdefault(number, (keyword[1], len(out)))
                out.append(keyword)
            assert cursor == at + block - free, f"listing block {number}: free space"
            number = following
        assert len(out) == count and len(firsts) == last + 1, "keyword and block counts"
        self._check_index(tree, root, depth, {b: k for b, (k, _) in firsts.items()})
        self.index_depth = depth
        mapping = self.file(f"/{name}/Map")
        assert struct.unpack_from("<H", mapping)[0] == len(firsts) and [
            tuple(struct.unpack_from("<II", mapping, 2 + 8 * b)) for b in range(len(firsts))] == [
            (i, b) for b, (_, i) in sorted(firsts.items())], "Map"
        assert len(self.file(f"/{name}/Data")) == 13 * count, "Data"
        return out

    def _entry(self, tree, at, listing):
        end = at
        while tree[end:end + 2] != b"\0\0":
            end += 2
        keyword = tree[at:end].decode("utf-16-le")
        see_also, depth, shown, _, pairs = struct.unpack_from("<HHIII", tree, end + 2)
        at = end + 18
        if see_also:
            end = at
            while tree[end:end + 2] != b"\0\0":
                end += 2
            target, at = tree[at:end].decode("utf-16-le"), end + 2
        else:
            target = [self.topic(t)[1] for t in struct.unpack_from(f"<{pairs}I", tree, at)]
            at += 4 * pairs
        at += 8 if listing else 4
        return (depth, keyword, shown, target), at

    def _check_index(self, tree, root, depth, firsts):
        """Every index entry names the first keyword of the block it leads to."""
        def block(number, level):
            if level == 1:
                return firsts[number]
            at = 0x4C + number * 2048
            free, entries, leftmost = struct.unpack_from("<HHI", tree, at)
            cursor, first = at + 8, None
            for i in range(entries):
                (_, keyword, _, _), cursor = self._entry(tree, cursor, listing=False)
                child = struct.unpack_from("<I", tree, cursor - 4)[0]
                assert i or child == leftmost, f"index block {number}: first child"
                assert block(child, level - 1) == keyword, f"index block {number}: {keyword!r}"
                first = first or keyword
            assert cursor == at + 2048 - free, f"index block {number}: free space"
            return first

        block(root, depth)

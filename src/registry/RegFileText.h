#pragma once

#include "registry/MemoryRegistryBackend.h"

#include <QByteArray>

#include <optional>

namespace folvane {

// The classes root as Windows .reg text ("Windows Registry Editor Version 5.00"), so that
// a hive kept in a file can be read and edited with ordinary tools.
class RegFileText {
public:
    // Written as UTF-8 with CR LF line ends. Strings that hold line breaks or other control
    // characters are written as hex(1) data, the form regedit uses for them.
    static QByteArray format(const MemoryRegistryBackend::Key& root);
    // Reads UTF-8 (with or without BOM) or UTF-16 with BOM. Lines that are not understood,
    // keys of other roots and deletion entries are skipped. Nothing when the bytes are not
    // .reg text at all (undecodable, NUL characters, no header); an empty file is an empty tree.
    static std::optional<MemoryRegistryBackend::Key> parse(const QByteArray& bytes);
};

} // namespace folvane

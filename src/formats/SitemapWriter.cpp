#include "formats/SitemapWriter.h"

#include "formats/CharacterReferences.h"

#include <utility>

namespace folvane::formats {

SitemapWriter::SitemapWriter(std::string_view generator, std::size_t entries) {
    // Sized for the usual entry, so that a large contents is not copied as it grows.
    out_.reserve(2048 + entries * 224);
    put("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n<meta name=\"GENERATOR\" content=\"",
        generator, "\">\r\n<!-- Sitemap 1.0 -->\r\n</HEAD><BODY>\r\n<BASE HREF=\"\\\">\r\n",
        // How viewers draw the program's contents.
        "<OBJECT type=\"text/site properties\">\r\n    <param name=\"ExWindow Styles\" value=\"0x200\">\r\n"
        "  <param name=\"Window Styles\" value=\"0x800025\">\r\n <param name=\"Font\" value=\"宋体,9,0\">\r\n"
        "</OBJECT>\r\n<OBJECT type=\"text/site properties\"><param name=\"Foreground\" value=\"0xa54a00\">"
        "</OBJECT>\r\n<UL>\r\n");
}

// One list opened for a deeper entry, however much deeper; as many closed as it rises.
void SitemapWriter::enter(int depth) {
    if (depth_ >= 0 && depth > depth_)
        put(tabs(depth_), "<UL>\r\n");
    for (int level = depth_ - 1; level >= depth; --level)
        put(tabs(level), "</UL>\r\n");
    depth_ = depth;
}

void SitemapWriter::addTopic(int depth, std::string_view name, std::string_view local) {
    enter(depth);
    const std::string in = tabs(depth);
    put(in, "<LI><OBJECT type=\"text/sitemap\">\r\n", in, "\t  <param name=\"Name\" value=\"");
    appendWrittenValue(out_, name);
    put("\">\r\n", in, "\t  <param name=\"Local\" value=\"");
    appendWrittenValue(out_, local);
    put("\">\r\n", in, "    </OBJECT>\r\n", in, "</LI>\r\n");
}

void SitemapWriter::addBook(int depth, std::string_view name) {
    enter(depth);
    put(tabs(depth), "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"");
    appendWrittenValue(out_, name);
    put("\"><param name=\"ImageNumber\" value=\"1\"></OBJECT></LI>\r\n");
}

std::string SitemapWriter::finish() {
    enter(0);
    put("</UL>\r\n</BODY></HTML>");
    return std::move(out_);
}

} // namespace folvane::formats

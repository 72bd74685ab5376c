// Private to the host XML layer: writing a tree as text that reads back as it was written.
#ifndef QORVI_HOST_DVKXMLOUTPUT_H
#define QORVI_HOST_DVKXMLOUTPUT_H

#include <pugixml.hpp>

namespace dvk {

// The whole document with its declaration, or a node with its subtree, indented by two spaces
// (without layout when a very deep tree would write out as mostly blanks). A carriage return in
// text is written as a character reference (a CDATA section is split around it), since a reader
// takes a literal one for a line end.
void WriteXml(const pugi::xml_document& document, pugi::xml_writer& out);
void WriteXml(pugi::xml_node node, pugi::xml_writer& out);

} // namespace dvk

#endif

"""XML helpers of the OKT service: safe parsing, serialising and quoting."""

import re
import xml.etree.ElementTree as ET
import xml.parsers.expat

# Characters that XML 1.0 cannot carry at all; they are replaced before writing.
_INVALID_XML_CHARS = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ud800-\udfff\ufffe\uffff]")

_ATTRIBUTE_ESCAPES = {
    "&": "&amp;", "<": "&lt;", ">": "&gt;", "'": "&apos;", '"': "&quot;",
    "\t": "&#9;", "\n": "&#10;", "\r": "&#13;",
}


class XMLError(Exception):
    """A document that is not well-formed or that the service refuses to read."""


def _refuse_doctype(*_args):
    # Entity declarations allow entity-expansion attacks; no peer of ours needs a DTD.
    raise XMLError("document type declarations are not accepted")


def parse(data):
    """Parses XML bytes into an element tree; comments and processing instructions are dropped."""
    builder = ET.TreeBuilder()
    parser = xml.parsers.expat.ParserCreate()
    parser.buffer_text = True
    parser.StartElementHandler = builder.start
    parser.EndElementHandler = builder.end
    parser.CharacterDataHandler = builder.data
    parser.StartDoctypeDeclHandler = _refuse_doctype
    parser.EntityDeclHandler = _refuse_doctype
    try:
        parser.Parse(data, True)
    except xml.parsers.expat.ExpatError as error:
        raise XMLError(str(error)) from None
    return builder.close()


def parse_file(path):
    with open(path, "rb") as stream:
        return parse(stream.read())


def clean_text(text):
    """Replaces characters that XML cannot carry (they can come from a peer's garbage)."""
    return _INVALID_XML_CHARS.sub("\ufffd", text)


def quote_attribute(value):
    """Single-quoted attribute value, escaped so that no markup can appear inside it."""
    escaped = "".join(_ATTRIBUTE_ESCAPES.get(char, char) for char in clean_text(value))
    return "'" + escaped + "'"


_TEXT_ESCAPES = str.maketrans({"&": "&amp;", "<": "&lt;", ">": "&gt;"})
_VALUE_ESCAPES = str.maketrans({"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;",
                                "\t": "&#9;", "\n": "&#10;", "\r": "&#13;"})


def serialise(root):
    """The element as XML text, without recursion (structures are deep); characters that XML cannot
    carry are replaced."""
    parts = []
    pending = [(root, False)]
    while pending:
        element, closing = pending.pop()
        if closing:
            parts.append("</%s>" % element.tag)
        else:
            parts.append("<" + element.tag)
            for name, value in element.items():
                parts.append(' %s="%s"' % (name, clean_text(value).translate(_VALUE_ESCAPES)))
            if len(element) == 0 and not element.text:
                parts.append("/>")
            else:
                parts.append(">")
                if element.text:
                    parts.append(clean_text(element.text).translate(_TEXT_ESCAPES))
                pending.append((element, True))
                pending.extend((child, False) for child in reversed(element))
                continue
        if element.tail and element is not root:
            parts.append(clean_text(element.tail).translate(_TEXT_ESCAPES))
    return "".join(parts)


def to_document(root):
    """Serialises an element as a complete UTF-8 document with its declaration."""
    return ('<?xml version="1.0" encoding="UTF-8"?>\n' + serialise(root) + "\n").encode("utf-8")

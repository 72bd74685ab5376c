"""The exchange with the client library: request pointer, request file, response file, thin response.

A client writes its full request to a file, sends a short pointer naming that file,
    <?xml version='1.0'?><request dirname='DIR' filename='QxRequest.xml' ver='V' csever='C'/>
and expects a thin response naming the full response file, ended by "</response>":
    <?xml version='1.0'?><response dirname='DIR' filename='Response.xml'></response>
"""

import os
import re
import xml.etree.ElementTree as ET

import okt_files
import okt_xml

POINTER_ROOT = "request"
POINTER_ATTRIBUTES = ("dirname", "filename", "ver", "csever")

REQUEST_ROOT = "command"
# A partial request of a check-in (one group of its top-level objects) comes under this root.
SPARSE_ROOT = "response"
SPARSE_COMMANDS = ("checkin", "checkinEx", "recognizeversion")
# Every request envelope the client builds carries these attributes.
ENVELOPE_ATTRIBUTES = ("cname", "iid", "cse", "addn", "ver", "csever", "focusbrowser", "loglevel")
# Values that the client writes the same into every envelope.
FIXED_ENVELOPE_VALUES = (("addn", "abc"), ("loglevel", "4"))
BOOLEAN_VALUES = ("true", "false")
# "iid" is the client's process identifier.
_PROCESS_ID = re.compile(r"[0-9]+")
# Only the login commands carry the user name.
LOGIN_COMMANDS = ("login", "loginEx")
# The bulk loader's loginEx announces its own version in the envelope's "ver".
OWN_VERSION_COMMANDS = ("loginEx",)
# Bytes that may not surround a pointer, by the names used in a refusal.
_BYTE_NAMES = {0: "NUL", 9: "tab", 10: "LF", 13: "CR", 32: "blank"}
# The client's own node identifiers; it must strip them before sending.
INTERNAL_ID_ATTRIBUTE = "iGSSLID"

RESPONSE_FILE_NAME = "Response.xml"
RESPONSE_FLAGS = ("deletefiles", "copyattribute", "loadfiles", "createpreview",
                  "backgroundcheckin", "maintainlock")
SUCCESS = "success"
FAILURE = "failure"


class ProtocolError(Exception):
    """A pointer or request that cannot be served; the text is the reason sent back."""

    @property
    def reason(self):
        return str(self)


class RequestPointer:
    def __init__(self, attributes):
        self.dirname = attributes["dirname"]
        self.filename = attributes["filename"]
        self.ver = attributes["ver"]
        self.csever = attributes["csever"]

    @property
    def path(self):
        if self.dirname.endswith(("/", os.sep)):
            return self.dirname + self.filename
        return self.dirname + "/" + self.filename


class Request:
    def __init__(self, pointer, root):
        self.pointer = pointer
        self.root = root

    @property
    def cname(self):
        return self.root.get("cname", "")

    def get(self, name, default=None):
        return self.root.get(name, default)


def _describe(data, limit=80):
    text = okt_xml.clean_text(data.decode("utf-8", errors="replace"))
    return text if len(text) <= limit else text[:limit] + "..."


def _check_surroundings(data):
    """The client sends the pointer alone: no byte before its first "<" or after its last ">"."""
    first = data.find(b"<")
    last = data.rfind(b">")
    before = data[:first] if first >= 0 else data
    after = data[last + 1:] if last > first >= 0 else b""
    places = []
    for place, stray in (("before", before), ("after", after)):
        if stray:
            names = []
            for byte in stray:
                name = _BYTE_NAMES.get(byte, "other text")
                if name not in names:
                    names.append(name)
            places.append("%s %s it" % (", ".join(names), place))
    if places:
        raise ProtocolError("request pointer has %s; a pointer is sent alone, without "
                            "terminator or padding" % " and ".join(places))


def parse_pointer(data):
    """Reads one pointer text; raises ProtocolError with the reason when it is not usable."""
    _check_surroundings(data)
    try:
        root = okt_xml.parse(data)
    except okt_xml.XMLError as error:
        raise ProtocolError("request pointer is not well-formed XML (%s): %s"
                            % (error, _describe(data))) from None
    if root.tag != POINTER_ROOT:
        raise ProtocolError("request pointer has the element '%s' instead of '%s'"
                            % (root.tag, POINTER_ROOT))
    missing = [name for name in POINTER_ATTRIBUTES if name not in root.attrib]
    if missing:
        raise ProtocolError("request pointer lacks the attribute(s) %s"
                            % ", ".join("'%s'" % name for name in missing))
    pointer = RequestPointer(root.attrib)
    _check_location(pointer)
    return pointer


def _check_location(pointer):
    name = pointer.filename
    if not name or name in (".", "..") or "/" in name or "\\" in name or "\0" in name:
        raise ProtocolError("request pointer names '%s', which is not a plain file name"
                            % okt_xml.clean_text(name))
    if "\0" in pointer.dirname or not os.path.isabs(pointer.dirname):
        raise ProtocolError("request folder '%s' is not an absolute path"
                            % okt_xml.clean_text(pointer.dirname))


def load_request(pointer):
    """Loads and checks the request file that the pointer names."""
    path = pointer.path
    try:
        root = okt_xml.parse_file(path)
    except FileNotFoundError:
        raise ProtocolError("request file '%s' does not exist" % path) from None
    except OSError as error:
        raise ProtocolError("request file '%s' cannot be read: %s"
                            % (path, error.strerror or error)) from None
    except okt_xml.XMLError as error:
        raise ProtocolError("request file '%s' is not well-formed XML: %s" % (path, error)) from None
    if root.tag != REQUEST_ROOT and not (root.tag == SPARSE_ROOT and root.get("cname") in SPARSE_COMMANDS):
        raise ProtocolError("request file '%s' has the root element '%s' instead of '%s'"
                            % (path, root.tag, REQUEST_ROOT))
    missing = [name for name in ENVELOPE_ATTRIBUTES if name not in root.attrib]
    if missing:
        raise ProtocolError("request envelope lacks the attribute(s) %s"
                            % ", ".join("'%s'" % name for name in missing))
    if not root.get("cname"):
        raise ProtocolError("request envelope has an empty command name (attribute 'cname')")
    _check_envelope_values(root, pointer)
    if any(INTERNAL_ID_ATTRIBUTE in element.attrib for element in root.iter()):
        raise ProtocolError("request still carries internal node identifiers (attribute '%s')"
                            % INTERNAL_ID_ATTRIBUTE)
    return Request(pointer, root)


def _check_envelope_values(root, pointer):
    """Refuses envelope values that the client never writes."""
    cname = root.get("cname")
    for name, value in FIXED_ENVELOPE_VALUES:
        if root.get(name) != value:
            raise ProtocolError("request envelope has %s='%s'; the client always writes '%s'"
                                % (name, root.get(name), value))
    if root.get("focusbrowser") not in BOOLEAN_VALUES:
        raise ProtocolError("request envelope has focusbrowser='%s'; it must be 'true' or 'false'"
                            % root.get("focusbrowser"))
    if not _PROCESS_ID.fullmatch(root.get("iid")):
        raise ProtocolError("request envelope has iid='%s'; it must be the client's process "
                            "identifier (decimal digits)" % root.get("iid"))
    if "username" in root.attrib and cname not in LOGIN_COMMANDS:
        raise ProtocolError("request envelope of '%s' carries 'username'; only %s carry it"
                            % (cname, " and ".join(LOGIN_COMMANDS)))
    compared = ("csever",) if cname in OWN_VERSION_COMMANDS else ("ver", "csever")
    for name in compared:
        if root.get(name) != getattr(pointer, name):
            raise ProtocolError("request pointer has %s='%s' but its request envelope %s='%s'"
                                % (name, getattr(pointer, name), name, root.get(name)))


def build_response(reply, request=None):
    """The full response document: envelope attributes, then "info" (with "reason" on failure)."""
    envelope = request.root.attrib if request is not None else {}
    root = ET.Element("response")
    root.set("cname", envelope.get("cname", ""))
    root.set("iid", envelope.get("iid", ""))
    root.set("ver", envelope.get("ver", ""))
    root.set("csever", envelope.get("csever", ""))
    root.set("MCAD", envelope.get("addn", ""))
    root.set("result", reply.result)
    for flag in RESPONSE_FLAGS:
        root.set(flag, reply.flags.get(flag, "false"))
    info = reply.info if reply.info is not None else ET.Element("info")
    if reply.result != SUCCESS:
        ET.SubElement(info, "reason").text = okt_xml.clean_text(reply.reason)
    root.append(info)
    return root


def write_response(folder, root, filename=RESPONSE_FILE_NAME):
    """Writes the response file whole and returns its path."""
    return okt_files.replace_file(os.path.join(folder, filename), okt_xml.to_document(root))


def thin_response(dirname, filename=RESPONSE_FILE_NAME):
    """The text sent back on the socket; the client reads until "</response>"."""
    return ("<?xml version='1.0'?><response dirname=%s filename=%s></response>"
            % (okt_xml.quote_attribute(dirname), okt_xml.quote_attribute(filename)))

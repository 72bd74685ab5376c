"""The commands the service performs, one handler per command name.

A handler takes (request, session, data) and returns a Reply. To serve a further command,
write its handler and register it with @command("name").
"""

import secrets
import xml.etree.ElementTree as ET

import okt_settings
from okt_protocol import FAILURE, SUCCESS

COMPONENT_VERSION_QUERY = "exec prog CorvaneHelpAbout.tcl;"


class Reply:
    def __init__(self, result, reason="", info=None, flags=None):
        self.result = result
        self.reason = reason
        self.info = info        # the "info" element of the response, None for an empty one
        self.flags = flags or {}


def success(info=None, **flags):
    return Reply(SUCCESS, info=info, flags=flags)


def failure(reason):
    return Reply(FAILURE, reason=reason)


# The recently accessed designs that a connection remembers.
RECENT_LIMIT = 20
BOOLEAN_VALUES = ("true", "false")


class Session:
    """State of one client connection."""

    def __init__(self):
        self.user = None
        self.encryption_key = None
        self.recent = []        # (cadid, attributes) of the designs named lately, latest first
        self.dir_aliases = {}


COMMANDS = {}


def command(name, login_required=False):
    """Registers the handler for the command name; login_required refuses it on a connection
    without a logged-in user."""
    def register(handler):
        def serve(request, session, data):
            if login_required and session.user is None:
                return failure("%s refused: no user is logged in on this connection" % name)
            return handler(request, session, data)
        COMMANDS[name] = serve
        return handler
    return register


class Refused(Exception):
    """A request body that the client never sends; the text is the reason sent back."""


def _refuse_body(request):
    """The commands without a body carry no elements under "command"."""
    tags = sorted({child.tag for child in request.root})
    if tags:
        raise Refused("%s request carries the element(s) %s; it has no body"
                      % (request.cname, ", ".join("'%s'" % tag for tag in tags)))


def _one(parent, tag, cname, where="command"):
    elements = parent.findall(tag)
    if len(elements) != 1:
        raise Refused("%s request has %d '%s' element(s) under '%s'; it needs one"
                      % (cname, len(elements), tag, where))
    return elements[0]


def _check_attributes(element, names, cname, where):
    missing = [name for name in names if name not in element.attrib]
    if missing:
        raise Refused("%s request: %s lacks the attribute(s) %s"
                      % (cname, where, ", ".join("'%s'" % name for name in missing)))


def _check_boolean(element, name, cname, where):
    if element.get(name) not in BOOLEAN_VALUES:
        raise Refused("%s request: %s has %s='%s'; it must be 'true' or 'false'"
                      % (cname, where, name, element.get(name)))


def _check_object(element, names, cname, where):
    """A "cadobject" of a request: its attributes, a folder that is absolute, and something
    that names the design."""
    _check_attributes(element, names, cname, where)
    folder = element.get("dirname")
    if folder and not folder.startswith("/"):
        raise Refused("%s request: %s has the relative folder dirname='%s'" % (cname, where, folder))
    if not element.get("cadid") and not element.get("filename"):
        raise Refused("%s request: %s has neither a cadid nor a filename" % (cname, where))


def _remember(session, element):
    """Puts the design first in the connection's recently accessed list."""
    key = element.get("cadid") or element.get("filename")
    attributes = {name: element.get(name) for name in ("cadid", "name", "filename", "type", "dirname")
                  if element.get(name) is not None}
    session.recent = [(key, attributes)] + [item for item in session.recent if item[0] != key]
    del session.recent[RECENT_LIMIT:]


def _body_checked(handler):
    """Answers a Refused raised while reading the request body with its reason."""
    def serve(request, session, data):
        try:
            return handler(request, session, data)
        except Refused as refusal:
            return failure(str(refusal))
    serve.__name__ = handler.__name__
    return serve


def perform(request, session, data):
    handler = COMMANDS.get(request.cname)
    if handler is None:
        return failure("unknown command '%s'" % request.cname)
    return handler(request, session, data)


def _log_in(request, session, data, password_required):
    user = request.get("username", "")
    if not user.strip():
        return failure("%s request lacks the user name (attribute 'username')" % request.cname)
    password = request.get("password")
    if password_required and password is None:
        return failure("%s request lacks the password (attribute 'password')" % request.cname)
    if data.users is not None:
        if user not in data.users:
            return failure("user '%s' is not allowed to log in" % user)
        # The plain login carries no password: it serves only users who have none.
        expected = data.users[user]
        if expected is not None and password is None:
            return failure("user '%s' has a password and must log in with loginEx" % user)
        if expected is not None and password != expected:
            return failure("wrong password for user '%s'" % user)
    session.user = user
    return success(info=data.settings_info())


@command("login")
def login(request, session, data):
    return _log_in(request, session, data, password_required=False)


@command("loginEx")
def login_ex(request, session, data):
    return _log_in(request, session, data, password_required=True)


@command("logout")
def logout(request, session, data):
    session.user = None
    return success()


@command("ping")
def ping(request, session, data):
    return success()


@command("lql", login_required=True)
def lql(request, session, data):
    query_element = request.root.find("lql")
    if query_element is None:
        return failure("lql request has no query (element 'lql')")
    query = "".join(query_element.itertext()).strip()
    if not query:
        return failure("lql request has an empty query")
    if query != COMPONENT_VERSION_QUERY:
        return failure("lql query not supported by this service: '%s'" % query)
    info = ET.Element("info")
    info.text = okt_settings.components_text(data.components)
    return success(info=info)


PREFERENCES = (("language", "en"), ("showpreview", "true"), ("checkinmode", "interactive"))


@command("preferences", login_required=True)
@_body_checked
def preferences(request, session, data):
    _refuse_body(request)
    info = ET.Element("info")
    listed = ET.SubElement(info, "preferences")
    for name, value in (("user", session.user),) + PREFERENCES:
        pair = ET.SubElement(listed, "attribute")
        ET.SubElement(pair, "name").text = name
        ET.SubElement(pair, "value").text = value
    return success(info=info)


@command("encryptionkey", login_required=True)
@_body_checked
def encryption_key(request, session, data):
    _refuse_body(request)
    # One key per connection, handed out again on every request.
    if session.encryption_key is None:
        session.encryption_key = secrets.token_hex(16)
    info = ET.Element("info")
    ET.SubElement(info, "encryptionkey").text = session.encryption_key
    return success(info=info)


@command("recentlyaccessedparts", login_required=True)
@_body_checked
def recently_accessed_parts(request, session, data):
    _refuse_body(request)
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    for _key, attributes in session.recent:
        ET.SubElement(listed, "cadobject", attributes)
    return success(info=info)


WORKSPACE_OBJECT_ATTRIBUTES = ("name", "dirname", "filename", "type", "cadid")


@command("initiatewsm", login_required=True)
@_body_checked
def initiate_workspace_manager(request, session, data):
    objects = _one(request.root, "cadobjectlist", request.cname).findall("cadobject")
    for position, element in enumerate(objects, 1):
        _check_object(element, WORKSPACE_OBJECT_ATTRIBUTES, request.cname, "cadobject %d" % position)
    for element in reversed(objects):
        _remember(session, element)
    info = ET.Element("info")
    ET.SubElement(info, "workspacemanager", {"initialdir": request.get("initialdir", ""),
                                             "objects": str(len(objects))})
    return success(info=info)


VERSION_OBJECT_ATTRIBUTES = ("name", "dirname", "cadid", "modified", "type", "filename",
                             "selectable")
# The versions every design has here: revision A, versions 1 and 2.
VERSION_NUMBERS = ("1", "2")


@command("versions", login_required=True)
@_body_checked
def versions(request, session, data):
    lists = request.root.findall("cadobjectlist")
    if not lists:
        raise Refused("versions request has no object (element 'cadobjectlist')")
    objects = []
    for number, listed in enumerate(lists, 1):
        where = "cadobjectlist %d" % number
        element = _one(listed, "cadobject", request.cname, where)
        where += " cadobject"
        _check_object(element, VERSION_OBJECT_ATTRIBUTES, request.cname, where)
        _check_boolean(element, "modified", request.cname, where)
        if element.get("selectable") != "true":
            raise Refused("versions request: %s has selectable='%s'; the client writes 'true'"
                          % (where, element.get("selectable")))
        for position, pair in enumerate(element.findall("attribute"), 1):
            if pair.find("name") is None or pair.find("value") is None:
                raise Refused("versions request: %s attribute %d needs a name and a value element"
                              % (where, position))
        objects.append(element)
    for element in reversed(objects):
        _remember(session, element)
    info = ET.Element("info")
    answer = ET.SubElement(info, "cadobjectlist")
    for element in objects:
        found = ET.SubElement(answer, "cadobject", {
            "cadid": element.get("cadid"), "name": element.get("name"),
            "filename": element.get("filename"), "type": element.get("type"),
            "busrevision": element.get("busrevision") or "A"})
        for number in VERSION_NUMBERS:
            ET.SubElement(found, "version", {"qxversion": number,
                                             "latest": str(number == VERSION_NUMBERS[-1]).lower()})
    return success(info=info)


@command("userdefined", login_required=True)
@_body_checked
def user_defined(request, session, data):
    if not request.get("url", "").strip():
        raise Refused("userdefined request has no page (attribute 'url')")
    _check_boolean(request.root, "hangbrowser", request.cname, "command")
    text = "".join(_one(request.root, "userdefinedcommand", request.cname).itertext())
    if not text.strip():
        raise Refused("userdefined request has an empty command (element 'userdefinedcommand')")
    info = ET.Element("info")
    # The command as received, so that the client sees what ran.
    ET.SubElement(info, "userdefinedcommand", {"url": request.get("url"),
                                               "hangbrowser": request.get("hangbrowser")}).text = text
    return success(info=info)


@command("setuserdiralias", login_required=True)
@_body_checked
def set_user_dir_alias(request, session, data):
    lists = request.root.findall("userdiraliaslist")
    if not lists:
        raise Refused("setuserdiralias request has no list (element 'userdiraliaslist')")
    aliases = {}
    for position, pair in enumerate((pair for listed in lists for pair in listed), 1):
        name = pair.find("name")
        value = pair.find("value")
        if pair.tag != "userdiralias" or name is None or value is None:
            raise Refused("setuserdiralias request: entry %d must be a 'userdiralias' with a name "
                          "and a value element" % position)
        alias = "".join(name.itertext())
        if not alias.strip():
            raise Refused("setuserdiralias request: userdiralias %d has an empty name" % position)
        aliases[alias] = "".join(value.itertext())
    session.dir_aliases = aliases
    info = ET.Element("info")
    listed = ET.SubElement(info, "userdiraliaslist")
    for alias, folder in aliases.items():
        ET.SubElement(listed, "userdiralias", {"name": alias, "value": folder})
    return success(info=info)

"""The commands the service performs, one handler per command name.

A handler takes (request, session, data) and returns a Reply. To serve a further command,
write its handler and register it with @command("name").
"""

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


class Session:
    """State of one client connection."""

    def __init__(self):
        self.user = None


COMMANDS = {}


def command(name):
    def register(handler):
        COMMANDS[name] = handler
        return handler
    return register


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


@command("lql")
def lql(request, session, data):
    if session.user is None:
        return failure("lql refused: no user is logged in on this connection")
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

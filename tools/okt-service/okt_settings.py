"""The service's own data: the global settings handed out at login and the server components."""

import copy
import os

import okt_xml

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SETTINGS_FILE = os.path.join(HERE, "global_settings.xml")
DEFAULT_COMPONENTS_FILE = os.path.join(HERE, "server_components.xml")

# Sections below "info" whose children are settings ("attribute" with "name" and "value").
SETTINGS_SECTIONS = ("gsettings", "gsettings/customattributes", "lsettings", "othersettings")

# Answer of the component-version program starts with this status token ("0": no error).
COMPONENTS_STATUS_OK = "0"
COMPONENT_SEPARATOR = "|"


class SettingsError(Exception):
    """A data file of the service that cannot be used."""


def _load(path, what):
    try:
        return okt_xml.parse_file(path)
    except OSError as error:
        raise SettingsError("cannot read the %s file '%s': %s"
                            % (what, path, error.strerror or error)) from None
    except okt_xml.XMLError as error:
        raise SettingsError("the %s file '%s' is not well-formed XML: %s" % (what, path, error)) from None


def _check_setting(path, section, position, attribute):
    where = "%s: %s/attribute[%d]" % (path, section, position)
    name = attribute.find("name")
    if name is None or not (name.text or "").strip():
        raise SettingsError("%s has no name" % where)
    value = attribute.find("value")
    if value is None:
        raise SettingsError("%s (%s) has no value element" % (where, name.text))
    nested = value.findall("attribute")
    if nested:
        for index, pair in enumerate(nested, 1):
            if pair.find("name") is None or pair.find("value") is None:
                raise SettingsError("%s (%s): pair %d needs a name and a value element"
                                    % (where, name.text, index))
    elif len(value):
        # A reader takes the first child of "value" as the value text.
        raise SettingsError("%s (%s): a plain value must be text only" % (where, name.text))


def load_global_settings(path=DEFAULT_SETTINGS_FILE):
    """Returns the "info" element of the settings file (a login response without its envelope)."""
    root = _load(path, "settings")
    if root.tag != "response":
        raise SettingsError("the settings file '%s' has the root element '%s' instead of 'response'"
                            % (path, root.tag))
    info = root.find("info")
    if info is None:
        raise SettingsError("the settings file '%s' has no 'info' element" % path)
    for section in SETTINGS_SECTIONS:
        for position, attribute in enumerate(info.findall(section + "/attribute"), 1):
            _check_setting(path, section, position, attribute)
    return info


def load_components(path=DEFAULT_COMPONENTS_FILE):
    """Returns the (name, version) pairs of the server components, in file order."""
    root = _load(path, "components")
    if root.tag != "components":
        raise SettingsError("the components file '%s' has the root element '%s' instead of "
                            "'components'" % (path, root.tag))
    components = []
    for position, element in enumerate(root.findall("component"), 1):
        name = element.get("name", "")
        version = element.get("version", "")
        for label, text in (("name", name), ("version", version)):
            if not text or COMPONENT_SEPARATOR in text:
                raise SettingsError("%s: component %d needs a %s without '%s'"
                                    % (path, position, label, COMPONENT_SEPARATOR))
        components.append((name, version))
    return components


def components_text(components):
    """The component-version answer: status token, then name and version of each component."""
    tokens = [COMPONENTS_STATUS_OK]
    for name, version in components:
        tokens += [name, version]
    return COMPONENT_SEPARATOR.join(tokens)


def parse_user(text):
    """"NAME" or "NAME:PASSWORD" from the command line; returns (name, password or None)."""
    name, colon, password = text.partition(":")
    if not name:
        raise SettingsError("a user needs a name: '%s'" % text)
    return name, (password if colon else None)


def load_users(path):
    """The users file: one "NAME:PASSWORD" (or "NAME", a user without a password) per line; blank
    lines and lines starting with "#" are skipped. Returns (name, password or None) pairs."""
    try:
        with open(path, encoding="utf-8") as stream:
            lines = stream.read().splitlines()
    except OSError as error:
        raise SettingsError("cannot read the users file '%s': %s"
                            % (path, error.strerror or error)) from None
    except UnicodeDecodeError:
        raise SettingsError("the users file '%s' is not UTF-8 text" % path) from None
    users = []
    for number, line in enumerate(lines, 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        name = line.partition(":")[0]
        if not name.strip() or name != name.strip():
            # Never repeat the line: it may hold a password.
            raise SettingsError("%s: line %d needs a user name without surrounding blanks before "
                                "the ':'" % (path, number))
        users.append(parse_user(line))
    return users


class ServiceData:
    """What the command handlers read: settings, components, the users allowed to log in and the
    vault of designs."""

    def __init__(self, settings_info, components, users=None, vault=None):
        self._settings_info = settings_info
        self.components = components
        self.users = users  # None: any user name is accepted; else name -> password or None
        self.vault = vault

    def settings_info(self):
        """A fresh copy of the settings, so that a response can never alter the original."""
        return copy.deepcopy(self._settings_info)

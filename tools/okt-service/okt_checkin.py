"""Check-in and version recognition: "checkin" and "recognizeversion".

The request carries a product structure in three sections under its root:
    relationshiplist   one "relationship" per use (rid, cadrelationship, topnode, its attributes;
                       the attribute "Quantity" is the number of instances)
    cadobjectlist      one "cadobject" per file (cadid, name, filename, dirname, type, ...,
                       its attributes)
    structure          "family" and "active": trees of "cadobject" nodes (cadid only); a node
                       below another has a first child "relationship" whose rid names its use
The top-level nodes of "active" are the objects checked in. A check-in may come as several partial
requests under the root "response", each for a group of top-level objects, with the whole object
and relationship lists; the partial requests of one check-in store together what one whole request
stores (an object stored by an earlier part is used, not stored again).
"""

import errno
import hashlib
import os
import stat
import xml.etree.ElementTree as ET

import okt_vault
from okt_commands import Refused, command, success
from okt_designs import Failed, served
from okt_protocol import SPARSE_ROOT

SECTIONS = ("relationshiplist", "cadobjectlist", "structure")
STRUCTURE_SECTIONS = ("family", "active")
DEFAULT_REVISION = "A"
# The server type of a new design without "bustype", by its CAD type.
SERVER_TYPES = {"assembly": "CAD Assembly", "part": "CAD Part", "drawing": "CAD Drawing",
                "embeddedComponent": "CAD Part"}
STATUS_NEW = "new"              # the vault holds no version (recognition) / version 1 was made
STATUS_CHECKED_IN = "checkedin"  # the vault holds the design / a further version was made
MAX_FILE_SIZE = 1 << 31


class CadObject:
    """One "cadobject" of the object list."""

    def __init__(self, element, where):
        self.cadid = element.get("cadid", "")
        self.name = element.get("busname") or element.get("name", "")
        self.file_names = element.get("filename", "").split("|")
        self.folder = element.get("dirname", "")
        self.cad_type = element.get("type", "")
        self.server_type = element.get("bustype") or None
        self.revision = element.get("busrevision") or None
        self.attributes = read_pairs(element, where)
        self.element = element
        for label, value in (("cadid", self.cadid), ("name", self.name), ("type", self.cad_type)):
            if not value.strip():
                raise Refused("%s has no %s" % (where, label))
        for name in self.file_names:
            fault = okt_vault.file_name_fault(name)
            if fault:
                raise Refused("%s: the file name '%s' %s; files are read only inside their folder"
                              % (where, name, fault))
        if "\0" in self.folder or not self.folder.startswith("/") or ".." in self.folder.split("/"):
            raise Refused("%s has dirname='%s'; it must be an absolute folder without '..'"
                          % (where, self.folder.replace("\0", "\\0")))


class Use:
    """One "relationship" of the relationship list."""

    def __init__(self, element, where):
        self.rid = element.get("rid", "")
        self.cad_relationship = element.get("cadrelationship", "")
        self.topnode = element.get("topnode", "")
        pairs = read_pairs(element, where)
        self.attributes = [(name, value) for name, value in pairs if name != "Quantity"]
        quantities = [value for name, value in pairs if name == "Quantity"]
        if not self.rid.strip() or not self.cad_relationship.strip():
            raise Refused("%s needs a rid and a cadrelationship" % where)
        self.quantity = 1
        if quantities:
            text = quantities[0].strip()
            if not text.isdigit() or not text.isascii() or int(text) < 1 or len(text) > 9:
                raise Refused("%s has the Quantity '%s'; it must be a whole number from 1"
                              % (where, quantities[0]))
            self.quantity = int(text)

    def same(self, other):
        return (self.cad_relationship, self.topnode, self.quantity, self.attributes) == (
            other.cad_relationship, other.topnode, other.quantity, other.attributes)


class CheckinRequest:
    """A check-in or recognition request, read and checked: objects by cadid (in list order),
    relationships by rid, per object its uses (rid, child cadid) and the top-level cadids."""

    def __init__(self, request):
        root = request.root
        cname = request.cname
        self.sparse = root.tag == SPARSE_ROOT
        tags = [child.tag for child in root]
        if sorted(tags) != sorted(SECTIONS):
            raise Refused("%s request must hold %s once each and nothing else; it holds %s"
                          % (cname, ", ".join("'%s'" % tag for tag in SECTIONS),
                             ", ".join("'%s'" % tag for tag in tags) or "nothing"))
        self.uses = {}
        for position, element in enumerate(root.find("relationshiplist"), 1):
            where = "%s request: relationship %d" % (cname, position)
            if element.tag != "relationship":
                raise Refused("%s request: 'relationshiplist' holds '%s'" % (cname, element.tag))
            use = Use(element, where)
            known = self.uses.setdefault(use.rid, use)
            if not known.same(use):
                raise Refused("%s: rid '%s' is listed twice with different contents" % (where, use.rid))
        self.objects = {}
        files = {}
        for position, element in enumerate(root.find("cadobjectlist"), 1):
            where = "%s request: cadobject %d" % (cname, position)
            if element.tag != "cadobject":
                raise Refused("%s request: 'cadobjectlist' holds '%s'" % (cname, element.tag))
            item = CadObject(element, where)
            if item.cadid in self.objects:
                raise Refused("%s: cadid '%s' is listed twice" % (where, item.cadid))
            for name in item.file_names:
                path = item.folder.rstrip("/") + "/" + name
                if files.setdefault(path, item.cadid) != item.cadid:
                    raise Refused("%s: the file '%s' belongs to '%s' already" % (where, path, files[path]))
            self.objects[item.cadid] = item
        self.children = {}
        self.top = []
        self._read_structure(root.find("structure"), cname)
        if not self.top:
            raise Refused("%s request places no object under 'structure/active'" % cname)
        if not self.sparse:
            unplaced = [cadid for cadid in self.objects if cadid not in self.placed]
            if unplaced:
                raise Refused("%s request lists the object '%s' but places it nowhere in the structure"
                              % (cname, unplaced[0]))

    def _read_structure(self, structure, cname):
        tags = [child.tag for child in structure]
        if sorted(tags) not in (["active"], ["active", "family"]):
            raise Refused("%s request: 'structure' must hold 'family' and 'active'; it holds %s"
                          % (cname, ", ".join("'%s'" % tag for tag in tags) or "nothing"))
        self.placed = {}
        self.family = []
        for section in STRUCTURE_SECTIONS:
            element = structure.find(section)
            if element is None:
                continue
            for node in element:
                cadid = self._node(node, None, cname)
                (self.top if section == "active" else self.family).append(cadid)
                self._walk(node, cname)
        self.top = list(dict.fromkeys(self.top))

    def _node(self, node, parent, cname):
        """The cadid of a structure node; checks its place and its relationship entry."""
        cadid = node.get("cadid", "")
        if node.tag != "cadobject" or cadid not in self.objects:
            raise Refused("%s request: the structure places '%s' %s, which the object list lacks"
                          % (cname, node.tag, "cadid '%s'" % cadid))
        self.placed[cadid] = None
        entries = [child for child in node if child.tag == "relationship"]
        if parent is None:
            if entries:
                raise Refused("%s request: the top-level node of '%s' has a relationship" % (cname, cadid))
            return cadid
        if len(entries) != 1 or node[0] is not entries[0]:
            raise Refused("%s request: the node of '%s' under '%s' needs one 'relationship' as its first "
                          "child" % (cname, cadid, parent))
        rid = entries[0].get("rid", "")
        if rid not in self.uses:
            raise Refused("%s request: the node of '%s' under '%s' names the relationship '%s', which "
                          "the relationship list lacks" % (cname, cadid, parent, rid))
        return cadid

    def _walk(self, top, cname):
        """Reads the uses below a top-level node, without recursion (structures are deep); the
        nodes on the way down are kept in one set, left when their subtree is done."""
        ancestors = set()
        stack = [(top, top.get("cadid"), False)]
        while stack:
            node, cadid, leaving = stack.pop()
            if leaving:
                ancestors.discard(cadid)
                continue
            ancestors.add(cadid)
            stack.append((node, cadid, True))
            uses = []
            for child in node:
                if child.tag == "relationship":
                    continue
                child_cadid = self._node(child, cadid, cname)
                if child_cadid in ancestors:
                    raise Refused("%s request: '%s' contains itself" % (cname, child_cadid))
                uses.append((child[0].get("rid"), child_cadid))
                stack.append((child, child_cadid, False))
            if not uses:
                continue
            known = self.children.setdefault(cadid, uses)
            if self._contents(known) != self._contents(uses):
                raise Refused("%s request: '%s' is placed twice with different contents" % (cname, cadid))

    def _contents(self, uses):
        """The uses of a node as what they place, whatever their rids."""
        return [(child, use.cad_relationship, use.topnode, use.quantity, use.attributes)
                for child, use in ((child, self.uses[rid]) for rid, child in uses)]

    def fingerprint(self, root):
        """Identifies the check-in that a partial request belongs to: its object and relationship lists."""
        digest = hashlib.sha256()
        for tag in ("relationshiplist", "cadobjectlist"):
            digest.update(ET.tostring(root.find(tag), encoding="utf-8"))
        return digest.hexdigest()

    def reached(self):
        """The cadids that the top-level objects of both sections contain, themselves included,
        each once."""
        found, pending = {}, self.top + self.family
        while pending:
            cadid = pending.pop()
            if cadid not in found:
                found[cadid] = None
                pending.extend(child for _rid, child in self.children.get(cadid, ()))
        return [cadid for cadid in self.objects if cadid in found]


def read_pairs(element, where):
    pairs = []
    for child in element:
        if child.tag != "attribute":
            continue
        name, value = child.find("name"), child.find("value")
        if name is None or value is None:
            raise Refused("%s: an attribute needs a name and a value element" % where)
        pairs.append(("".join(name.itertext()), "".join(value.itertext())))
    names = [name for name, _value in pairs]
    if len(set(names)) != len(names) or not all(name.strip() for name in names):
        raise Refused("%s: attribute names must be present and distinct" % where)
    return pairs


def read_file(folder, name):
    """The content of the regular file name in folder; a link or anything else is refused."""
    try:
        directory = os.open(folder, os.O_RDONLY | os.O_DIRECTORY | os.O_CLOEXEC)
    except OSError as error:
        raise Failed("cannot open the folder '%s': %s" % (folder, error.strerror)) from None
    try:
        try:
            descriptor = os.open(name, os.O_RDONLY | os.O_NOFOLLOW | os.O_NONBLOCK | os.O_CLOEXEC,
                                 dir_fd=directory)
        except OSError as error:
            if error.errno == errno.ELOOP:
                raise Failed("'%s' in '%s' is a link; only regular files are checked in"
                              % (name, folder)) from None
            raise Failed("cannot read '%s' in '%s': %s" % (name, folder, error.strerror)) from None
        status = os.fstat(descriptor)
        if not stat.S_ISREG(status.st_mode) or status.st_size > MAX_FILE_SIZE:
            os.close(descriptor)
            raise Failed("'%s' in '%s' is not a regular file of at most %d bytes"
                          % (name, folder, MAX_FILE_SIZE))
        with os.fdopen(descriptor, "rb") as stream:
            return stream.read()
    finally:
        os.close(directory)


class _Design:
    """The revision and server type of an object's design: as the vault holds it, else as sent."""

    def __init__(self, vault, item):
        found = vault.resolve(item.name, item.revision)
        version = found and vault.describe(found)
        self.revision = item.revision or (version.revision if version else DEFAULT_REVISION)
        self.latest = None  # the design's latest version, when the vault holds the design
        if version and version.revision == self.revision:
            self.server_type = version.server_type
            self.latest = version
        else:
            self.server_type = item.server_type or SERVER_TYPES.get(item.cad_type, "CAD " + item.cad_type)


def store(vault, checkin, user, stored, keep=None):
    """Stores the objects the structure places as new versions, except those in stored
    (cadid -> version id of an earlier part of the same check-in), which are used as they are, and
    those of a design in the vault for which keep(vault, latest version, files) is true, for which
    the latest version is used. Returns cadid -> version id of every object reached."""
    reached = checkin.reached()
    stored = dict(stored)
    fresh = [cadid for cadid in reached if cadid not in stored]
    designs = {}
    versions = []
    for cadid in list(fresh):
        item = checkin.objects[cadid]
        design = _Design(vault, item)
        key = (item.name, design.revision)
        if designs.setdefault(key, cadid) != cadid:
            raise Failed("the objects '%s' and '%s' are both the design '%s' revision %s"
                          % (designs[key], cadid, item.name, design.revision))
        files = [(name, read_file(item.folder, name)) for name in item.file_names]
        if keep is not None and design.latest is not None and keep(vault, design.latest, files):
            stored[cadid] = design.latest.id
            fresh.remove(cadid)
            continue
        versions.append(okt_vault.NewVersion(cadid, item.name, item.cad_type, design.server_type,
                                             design.revision, files, item.attributes))
    relationships = []
    for cadid in fresh:
        for rid, child in checkin.children.get(cadid, ()):
            use = checkin.uses[rid]
            relationships.append(okt_vault.NewRelationship(
                cadid, stored.get(child, child), use.cad_relationship, use.topnode, use.quantity,
                use.attributes))
    ids = vault.add_versions(versions, relationships, user)
    return {cadid: stored[cadid] if cadid in stored else ids[cadid] for cadid in reached}


def _note_local_copies(vault, checkin, user, ids, snapshot):
    """Notes where the user's files of the designs checked in are (for later update checks)."""
    vault.record_local_copies(user, [
        (checkin.objects[cadid].folder.rstrip("/") + "/" + name, snapshot.versions[version_id].design_id,
         position)
        for cadid, version_id in ids.items()
        for position, name in enumerate(checkin.objects[cadid].file_names, 1)])


def _answer_object(parent, item, selected, version, status, attributes, with_path=False):
    listed = {"cadid": item.cadid, "name": item.name, "filename": "|".join(item.file_names),
              "dirname": item.folder, "type": item.cad_type, "selected": selected,
              "designstatus": status}
    if with_path:
        # The extended check-in names the file with its folder (the bare name without one).
        folder = item.folder.rstrip("/")
        listed["filenamewithpath"] = (folder + "/" if item.folder else "") + listed["filename"]
    if version is not None:
        listed.update(qxtype=version.server_type, busrevision=version.revision,
                      qxversion=str(version.number))
    element = ET.SubElement(parent, "cadobject", listed)
    for name, value in attributes:
        pair = ET.SubElement(element, "attribute")
        ET.SubElement(pair, "name").text = name
        ET.SubElement(pair, "value").text = value


@command("checkin", login_required=True)
@served
def checkin(request, session, vault):
    return _check_in(request, session, vault)


def _check_in(request, session, vault, keep=None, flags=None):
    parsed = CheckinRequest(request)
    stored = {}
    fingerprint = parsed.fingerprint(request.root) if parsed.sparse else None
    earlier = getattr(session, "checkin_part", None)
    if fingerprint is not None and earlier is not None and earlier[0] == fingerprint:
        stored = earlier[1]
    ids = store(vault, parsed, session.user, stored, keep)
    # The next part of the same check-in uses what this one stored; a whole request ends it.
    session.checkin_part = (fingerprint, dict(stored, **ids)) if parsed.sparse else None
    snapshot = vault.load(set(ids.values()))
    _note_local_copies(vault, parsed, session.user, ids, snapshot)
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    top = set(parsed.top)
    for cadid, version_id in ids.items():
        version = snapshot.versions[version_id]
        _answer_object(listed, parsed.objects[cadid], "true" if cadid in top else "false", version,
                       STATUS_NEW if version.number == 1 else STATUS_CHECKED_IN, version.attributes,
                       with_path=flags is not None)
    if flags is not None:
        # The extended check-in keeps the user's locks on what it checked in, or releases them.
        keep_locks = flags.get("maintainlock") == "true"
        held = {version.design_id for version in snapshot.versions.values()
                if keep_locks or version.locked_by == session.user}
        vault.change_locks([(design_id, keep_locks) for design_id in held], session.user)
        return success(info=info, **flags)
    return success(info=info)


# The options of the extended check-in, "false" when the request lacks them (a partial request
# carries none).
CHECKIN_OPTIONS = ("deletefiles", "maintainlock", "createversion", "overwriteobject")


def _unchanged(vault, latest, files):
    """Whether the files are those of the latest version."""
    known = vault.load([latest.id]).versions[latest.id].files
    return [(name, sha) for name, sha, _size in known] == [
        (name, hashlib.sha256(data).hexdigest()) for name, data in files]


@command("checkinEx", login_required=True)
@served
def checkin_ex(request, session, vault):
    """As "checkin", with its options: createversion "true" stores a new version of every design;
    else overwriteobject "true" stores one of the designs whose files changed, and with both
    "false" the designs that the vault holds already are left as they are. maintainlock "true"
    keeps (or takes) the user's locks on the designs checked in, "false" releases them; the answer
    carries deletefiles and maintainlock as the request gave them."""
    options = {}
    for name in CHECKIN_OPTIONS:
        options[name] = request.get(name, "false")
        if options[name] not in ("true", "false"):
            raise Refused("checkinEx request has %s='%s'; it must be 'true' or 'false'" % (name, options[name]))
    if options["createversion"] == "true":
        keep = None
    elif options["overwriteobject"] == "true":
        keep = _unchanged
    else:
        keep = lambda _vault, _latest, _files: True  # noqa: E731
    return _check_in(request, session, vault, keep,
                     {name: options[name] for name in ("deletefiles", "maintainlock")})


@command("recognizeversion", login_required=True)
@served
def recognize_version(request, session, vault):
    parsed = CheckinRequest(request)
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    top = set(parsed.top)
    for cadid in parsed.reached():
        item = parsed.objects[cadid]
        found = vault.resolve(item.name, item.revision)
        version = vault.describe(found) if found else None
        _answer_object(listed, item, "true" if cadid in top else "false", version,
                       STATUS_CHECKED_IN if version else STATUS_NEW, item.attributes)
    return success(info=info)

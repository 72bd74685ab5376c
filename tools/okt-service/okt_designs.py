"""The design commands served from the vault: "checkout", "find" and "startdesign".

The request holds one "cadobjectlist" with one "cadobject" per design wanted:
    cadid        a version id of the vault (as an earlier answer gave it), or
    name         the design name; for find a pattern in which "*" stands for any text and "?"
                 for one character
    busrevision  the revision (default: the one created last)
    qxversion    the version number (default: the latest)
    dirname      the folder the files go into: an existing absolute folder, required by checkout
                 and startdesign, the same for every object of a request
    lock         checkout: "true" to lock the design for the user (default "false")
    renameto     startdesign: the name of the new design made from this one (required)

The answer's "info" holds the relationship list, the object list (every design once) and the
structure (every use of a design, with the relationship id that links it to its parent). The
designs named by the request are the top-level objects, marked selected="true".
"""

import re
import xml.etree.ElementTree as ET

import okt_files
import okt_vault
from okt_commands import Refused, command, failure, success

# An answer lists each use of a design; this many uses is far beyond any real assembly.
MAX_USES = 2_000_000

# Ids and version numbers, within SQLite's integers.
_NUMBER = re.compile(r"[0-9]{1,18}")


class Failed(Exception):
    """A request that is well-formed but cannot be served; the text is the reason."""


class Wanted:
    """One "cadobject" of a request."""

    def __init__(self, element, where):
        self.where = where
        self.cadid = element.get("cadid") or None
        self.name = element.get("name") or None
        self.revision = element.get("busrevision")
        self.number = element.get("qxversion")
        self.folder = element.get("dirname") or None
        self.lock = element.get("lock", "false")
        self.rename = element.get("renameto")

    def describe(self):
        text = "'%s'" % self.name if self.name else "cadid %s" % self.cadid
        if self.revision is not None:
            text += " revision %s" % self.revision
        if self.number is not None:
            text += " version %s" % self.number
        return text


def served(handler):
    """Answers a refused request or a vault fault with its reason."""
    def serve(request, session, data):
        try:
            if data.vault is None:
                raise Failed("this service has no vault")
            return handler(request, session, data.vault)
        except (Refused, Failed, okt_vault.VaultError) as error:
            return failure(str(error))
    serve.__name__ = handler.__name__
    return serve


def _read_request(request, folder_required):
    cname = request.cname
    others = sorted({child.tag for child in request.root} - {"cadobjectlist"})
    lists = request.root.findall("cadobjectlist")
    if others or len(lists) != 1:
        raise Refused("%s request must hold one 'cadobjectlist' and nothing else; it holds %d%s"
                      % (cname, len(lists), "".join(" and '%s'" % tag for tag in others)))
    elements = list(lists[0])
    strays = sorted({element.tag for element in elements} - {"cadobject"})
    if strays or not elements:
        raise Refused("%s request: 'cadobjectlist' must hold 'cadobject' elements only, at least one"
                      % cname)
    wanted = [_read_object(element, "%s request: cadobject %d" % (cname, position), folder_required)
              for position, element in enumerate(elements, 1)]
    if len({item.folder for item in wanted}) > 1:
        raise Refused("%s request names more than one folder (dirname); one request fills one folder"
                      % cname)
    return wanted


def _read_object(element, where, folder_required):
    item = Wanted(element, where)
    if item.cadid is None and (item.name is None or not item.name.strip()):
        raise Refused("%s names no design: it needs a cadid or a name" % where)
    for label, value in (("cadid", item.cadid), ("qxversion", item.number)):
        if value is not None and (not _NUMBER.fullmatch(value) or int(value) < 1):
            raise Refused("%s has %s='%s'; it must be a whole number from 1 (18 digits at most)"
                          % (where, label, value))
    if item.revision is not None and not item.revision.strip():
        raise Refused("%s has an empty busrevision" % where)
    if item.lock not in ("true", "false"):
        raise Refused("%s has lock='%s'; it must be 'true' or 'false'" % (where, item.lock))
    folder = item.folder
    if folder is None:
        if folder_required:
            raise Refused("%s has no folder (attribute 'dirname')" % where)
    elif "\0" in folder or not folder.startswith("/") or ".." in folder.split("/"):
        raise Refused("%s has dirname='%s'; it must be an absolute folder without '..'"
                      % (where, folder.replace("\0", "\\0")))
    return item


def _resolve(vault, item):
    """The version id that a request object names."""
    number = int(item.number) if item.number is not None else None
    if item.cadid is None:
        found = vault.resolve(item.name, item.revision, number)
    else:
        version = vault.describe(int(item.cadid))
        found = version and version.id
        if version is not None and ((item.name is not None and item.name != version.name)
                                    or item.revision not in (None, version.revision)
                                    or number not in (None, version.number)):
            raise Failed("%s: cadid %s is '%s' revision %s version %d, not %s"
                          % (item.where, item.cadid, version.name, version.revision,
                             version.number, item.describe()))
    if found is None:
        raise Failed("%s: the vault has no design %s" % (item.where, item.describe()))
    return found


def _roots(vault, wanted):
    """The version ids named, in request order, each once; and the one of each request object."""
    named = [_resolve(vault, item) for item in wanted]
    return list(dict.fromkeys(named)), named


class Answer:
    """Builds the "info" of an answer from a snapshot of the vault, and the files it lists."""

    def __init__(self, snapshot, roots, folder, user, renamed=None):
        self.snapshot = snapshot
        self.folder = folder or ""
        self.user = user
        self.renamed = renamed or {}
        self.selected = set(roots)
        self.info = ET.Element("info")
        self._relationship_list = ET.SubElement(self.info, "relationshiplist")
        self._object_list = ET.SubElement(self.info, "cadobjectlist")
        self._listed_objects = {}  # version ids in answer order
        self._listed_relationships = set()
        self._uses = 0
        structure = ET.SubElement(self.info, "structure")
        for root in roots:
            self._place(structure, root)

    def _place(self, structure, root):
        """Places the root and every use below it, depth first in position order, without
        recursion (structures are deep)."""
        pending = [(structure, root, None)]
        while pending:
            parent, version_id, rid = pending.pop()
            self._uses += 1
            if self._uses > MAX_USES:
                raise Failed("the structure has more than %d uses of designs" % MAX_USES)
            node = ET.SubElement(parent, "cadobject", {"cadid": str(version_id)})
            if rid is not None:
                ET.SubElement(node, "relationship", {"rid": str(rid)})
            if version_id not in self._listed_objects:
                self._listed_objects[version_id] = None
                self._list_object(self.snapshot.versions[version_id])
            below = []
            for child_rid in self.snapshot.children.get(version_id, ()):
                relationship = self.snapshot.relationships[child_rid]
                if child_rid not in self._listed_relationships:
                    self._listed_relationships.add(child_rid)
                    self._list_relationship(relationship)
                below.append((node, relationship.child, child_rid))
            pending.extend(reversed(below))

    def listed(self):
        """The ids of the versions listed, in answer order."""
        return list(self._listed_objects)

    def _list_object(self, version):
        file_names = "|".join(name for name, _sha, _size in version.files)
        attributes = {"cadid": str(version.id), "name": version.name, "filename": file_names,
                      "dirname": self.folder, "type": version.cad_type, "qxtype": version.server_type,
                      "busrevision": version.revision, "qxversion": str(version.number),
                      "lock": "true" if version.locked_by == self.user else "false",
                      "selected": "true" if version.id in self.selected else "false", "load": "true"}
        if version.locked_by is not None:
            attributes["lockedby"] = version.locked_by
        if version.id in self.renamed:
            attributes["name"] = self.renamed[version.id]
            attributes["renamedfrom"] = file_names
        _pairs(ET.SubElement(self._object_list, "cadobject", attributes), version.attributes)

    def _list_relationship(self, relationship):
        element = ET.SubElement(self._relationship_list, "relationship", {
            "rid": str(relationship.id), "cadrelationship": relationship.cad_relationship,
            "topnode": relationship.topnode, "mustinstructure": "true"})
        _pairs(element, [("Quantity", str(relationship.quantity))] + relationship.attributes)

    def files(self, vault):
        """(target file name, writer) of every file listed; refuses names that would leave the
        folder and two files of one name."""
        targets = {}
        for version_id in self._listed_objects:
            version = self.snapshot.versions[version_id]
            for name, sha, _size in version.files:
                target = name
                if version_id in self.renamed:
                    target = self.renamed[version_id] + _extension(name)
                fault = okt_vault.file_name_fault(target)
                if fault:
                    raise Failed("design '%s': the file name '%s' %s; nothing was placed"
                                  % (version.name, target, fault))
                if target in targets:
                    raise Failed("designs '%s' and '%s' both have a file '%s'; nothing was placed"
                                  % (targets[target][0], version.name, target))
                targets[target] = (version.name, sha)
        return [(target, lambda stream, sha=sha: vault.copy_content(sha, stream))
                for target, (_name, sha) in targets.items()]


def _pairs(element, pairs):
    for name, value in pairs:
        pair = ET.SubElement(element, "attribute")
        ET.SubElement(pair, "name").text = name
        ET.SubElement(pair, "value").text = value


def _extension(file_name):
    dot = file_name.rfind(".")
    return file_name[dot:] if dot > 0 else ""


def _place(answer, vault, folder):
    try:
        okt_files.place_files(folder, answer.files(vault))
    except OSError as error:
        raise Failed("cannot place the files in '%s': %s" % (folder, error.strerror or error)) from None


@command("checkout", login_required=True)
@served
def checkout(request, session, vault):
    wanted = _read_request(request, folder_required=True)
    roots, named = _roots(vault, wanted)
    snapshot = vault.load(roots)
    locked = {snapshot.versions[version_id].design_id
              for item, version_id in zip(wanted, named) if item.lock == "true"}
    with vault.locking(locked, session.user):
        for version in snapshot.versions.values():
            if version.design_id in locked:
                version.locked_by = session.user
        answer = Answer(snapshot, roots, wanted[0].folder, session.user)
        _place(answer, vault, wanted[0].folder)
    folder = wanted[0].folder.rstrip("/")
    vault.record_local_copies(session.user, [
        (folder + "/" + name, snapshot.versions[version_id].design_id, position)
        for version_id in answer.listed()
        for position, (name, _sha, _size) in enumerate(snapshot.versions[version_id].files, 1)])
    return success(info=answer.info)


@command("find", login_required=True)
@served
def find(request, session, vault):
    wanted = _read_request(request, folder_required=False)
    roots = {}
    for item in wanted:
        if item.cadid is not None:
            found = [_resolve(vault, item)]
        else:
            number = int(item.number) if item.number is not None else None
            found = [vault.resolve(name, item.revision, number) for name in vault.find(item.name)]
        roots.update((version_id, None) for version_id in found if version_id is not None)
    roots = list(roots)
    return success(info=Answer(vault.load(roots), roots, wanted[0].folder, session.user).info)


@command("startdesign", login_required=True)
@served
def start_design(request, session, vault):
    wanted = _read_request(request, folder_required=True)
    renamed = {}
    for item in wanted:
        if item.rename is None or not item.rename.strip():
            raise Refused("%s has no new name (attribute 'renameto')" % item.where)
        version_id = _resolve(vault, item)
        if renamed.setdefault(version_id, item.rename) != item.rename:
            raise Failed("%s: %s is to get two new names" % (item.where, item.describe()))
    roots = list(renamed)
    snapshot = vault.load(roots)
    for relationship in snapshot.relationships.values():
        if relationship.child in renamed:
            raise Failed("'%s' is to get a new name but is also used in '%s'"
                          % (snapshot.versions[relationship.child].name,
                             snapshot.versions[relationship.parent].name))
    answer = Answer(snapshot, roots, wanted[0].folder, session.user, renamed)
    _place(answer, vault, wanted[0].folder)
    return success(info=answer.info)

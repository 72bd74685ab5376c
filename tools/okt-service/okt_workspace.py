"""What the commands about a user's files share: the flat object lists of their requests, the design
each object names, and the state of the user's file against the vault.

A flat request holds one "cadobjectlist" with one "cadobject" per file of the user:
    name, type, cadid, filename, dirname   the CAD object and where its file is (dirname may be
                                           empty when the client could not resolve the folder)
    busname, busrevision, bustype          the server's name, revision and type, when known
The design is the one of the server name (else the name), of the revision given or the latest.
"""

import hashlib
import os
import stat

import okt_vault
from okt_commands import Refused

# The state of a user's file against the vault (object details, update checks).
NEW = "new"                 # the vault has no such design
CHECKED_IN = "checkedin"    # the file is the latest version
OUT_OF_DATE = "outofdate"   # the file is an older version
MODIFIED = "modified"       # the file is no version of the vault (changed locally, or missing)


class FlatObject:
    """One "cadobject" of a flat request."""

    def __init__(self, element, where):
        self.element = element
        self.where = where
        self.name = element.get("name", "")
        self.cad_type = element.get("type", "")
        self.cadid = element.get("cadid", "")
        self.file_name = element.get("filename", "")
        self.folder = element.get("dirname", "")
        self.server_name = element.get("busname") or None
        self.revision = element.get("busrevision") or None

    @property
    def path(self):
        """The file's path; the bare file name when the folder is empty."""
        if not self.folder:
            return self.file_name
        return self.folder.rstrip("/") + "/" + self.file_name

    def identity(self):
        """The attributes that name the object in an answer."""
        return {"name": self.name, "type": self.cad_type, "cadid": self.cadid,
                "filename": self.file_name, "dirname": self.folder}


def read_objects(request, required, optional=(), children=()):
    """The objects of a flat request; refuses other elements, missing or unknown attributes, a
    relative folder or a file name that is not plain. children are the element names an object
    may hold."""
    cname = request.cname
    others = sorted({child.tag for child in request.root} - {"cadobjectlist"})
    lists = request.root.findall("cadobjectlist")
    if others or len(lists) > 1:
        raise Refused("%s request must hold one 'cadobjectlist' and nothing else; it holds %d%s"
                      % (cname, len(lists), "".join(" and '%s'" % tag for tag in others)))
    elements = list(lists[0]) if lists else []
    found = []
    for position, element in enumerate(elements, 1):
        where = "%s request: cadobject %d" % (cname, position)
        if element.tag != "cadobject":
            raise Refused("%s request: 'cadobjectlist' holds '%s'" % (cname, element.tag))
        missing = [name for name in required if name not in element.attrib]
        if missing:
            raise Refused("%s lacks the attribute(s) %s" % (where, ", ".join("'%s'" % name for name in missing)))
        unknown = sorted(set(element.attrib) - set(required) - set(optional))
        if unknown:
            raise Refused("%s carries the attribute(s) %s, which this request does not have"
                          % (where, ", ".join("'%s'" % name for name in unknown)))
        strays = sorted({child.tag for child in element} - set(children))
        if strays:
            raise Refused("%s holds the element(s) %s" % (where, ", ".join("'%s'" % tag for tag in strays)))
        item = FlatObject(element, where)
        folder = item.folder
        if folder and ("\0" in folder or not folder.startswith("/") or ".." in folder.split("/")):
            raise Refused("%s has dirname='%s'; it must be an absolute folder without '..'"
                          % (where, folder.replace("\0", "\\0")))
        fault = okt_vault.file_name_fault(item.file_name)
        if fault:
            raise Refused("%s: the file name '%s' %s" % (where, item.file_name, fault))
        if not (item.server_name or item.name).strip():
            raise Refused("%s names no design: it needs a name" % where)
        found.append(item)
    return found


def resolve(vault, item):
    """The vault's Version that the object names (its latest of the revision), or None."""
    found = vault.resolve(item.server_name or item.name, item.revision)
    return found and vault.describe(found)


def latest_files(vault, version):
    """The Version with its files and attributes (the latest version of its design)."""
    return vault.load([version.id]).versions[version.id]


def file_position(version, file_name):
    """The position (from 1) of the file of that name among the version's files, or None."""
    for position, (name, _sha, _size) in enumerate(version.files, 1):
        if name == file_name:
            return position
    return None


def content_hash(path):
    """The SHA-256 of the regular file at path (no link followed), or None when there is none."""
    try:
        descriptor = os.open(path, os.O_RDONLY | os.O_NOFOLLOW | os.O_NONBLOCK | os.O_CLOEXEC)
    except OSError:
        return None
    digest = hashlib.sha256()
    with os.fdopen(descriptor, "rb") as stream:
        if not stat.S_ISREG(os.fstat(stream.fileno()).st_mode):
            return None
        for chunk in iter(lambda: stream.read(1 << 16), b""):
            digest.update(chunk)
    return digest.hexdigest()


def local_state(vault, version, position, path):
    """(state, number of the version the file is) of the user's file against the design's latest
    version (whose files the Version carries)."""
    if version is None:
        return NEW, None
    sha = content_hash(path) if path.startswith("/") and position is not None else None
    number = sha and vault.version_of_content(version.design_id, position, sha)
    if number is None:
        return MODIFIED, None
    return (CHECKED_IN if number == version.number else OUT_OF_DATE), number

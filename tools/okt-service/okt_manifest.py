"""Design manifests: an assembly described in JSON, its files in the folder "files" beside it.

    {"designs": [{"name": "Gearbox", "type": "assembly", "servertype": "CAD Assembly",
                  "revision": "A", "files": ["Gearbox.asm"],
                  "attributes": {"description": "Two-stage spur gearbox"}}, ...],
     "relationships": [{"parent": "Gearbox", "child": "Housing", "relationship": "assembly",
                        "topnode": "dpt", "quantity": 1,
                        "attributes": {"componentID": "Housing:1"}}, ...]}

A design is named by its name within the manifest; "revision" defaults to "A", "attributes" to
none. "files" lists the design's files in format order (at least one). A relationship's "topnode"
defaults to "dpt" and "quantity" to 1; a parent's relationships keep the order of the list.
"""

import json
import os

import okt_vault

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE_MANIFEST = os.path.join(HERE, "sample", "manifest.json")
FILES_FOLDER = "files"
SEED_USER = "okt-service"

_DESIGN_KEYS = {"name": True, "type": True, "servertype": True, "files": True,
                "revision": False, "attributes": False}
_RELATIONSHIP_KEYS = {"parent": True, "child": True, "relationship": True, "topnode": False,
                      "quantity": False, "attributes": False}


class ManifestError(Exception):
    """A manifest that cannot be used; the text says where and why."""


def _entry(item, keys, where):
    if not isinstance(item, dict):
        raise ManifestError("%s is not an object" % where)
    unknown = sorted(set(item) - set(keys))
    missing = [key for key, required in keys.items() if required and key not in item]
    if unknown or missing:
        raise ManifestError("%s: %s" % (where, "; ".join(
            (["unknown key(s) " + ", ".join(unknown)] if unknown else [])
            + (["missing key(s) " + ", ".join(missing)] if missing else []))))
    return item


def _text(item, key, where, default=None):
    value = item.get(key, default)
    if not isinstance(value, str) or not value:
        raise ManifestError("%s: '%s' must be a non-empty text" % (where, key))
    return value


def _attributes(item, where):
    attributes = item.get("attributes", {})
    if not isinstance(attributes, dict) or not all(
            isinstance(value, str) for value in attributes.values()):
        raise ManifestError("%s: 'attributes' must map names to texts" % where)
    return list(attributes.items())


def load(path):
    """Reads a manifest; returns the NewVersion and NewRelationship records of a vault write."""
    try:
        with open(path, encoding="utf-8") as stream:
            document = json.load(stream)
    except OSError as error:
        raise ManifestError("cannot read the manifest '%s': %s" % (path, error.strerror or error)) from None
    except ValueError as error:
        raise ManifestError("the manifest '%s' is not JSON: %s" % (path, error)) from None
    document = _entry(document, {"designs": True, "relationships": False}, "the manifest")
    files_folder = os.path.join(os.path.dirname(os.path.abspath(path)), FILES_FOLDER)
    versions = []
    for position, item in enumerate(_list(document, "designs"), 1):
        versions.append(_design(item, "design %d" % position, files_folder))
    names = {version.key for version in versions}
    if len(names) != len(versions):
        raise ManifestError("the manifest names a design twice")
    relationships = []
    for position, item in enumerate(_list(document, "relationships"), 1):
        where = "relationship %d" % position
        item = _entry(item, _RELATIONSHIP_KEYS, where)
        ends = [_text(item, key, where) for key in ("parent", "child")]
        for end in ends:
            if end not in names:
                raise ManifestError("%s names the design '%s', which the manifest lacks" % (where, end))
        quantity = item.get("quantity", 1)
        if type(quantity) is not int or quantity < 1:
            raise ManifestError("%s: 'quantity' must be a whole number of at least 1" % where)
        relationships.append(okt_vault.NewRelationship(
            ends[0], ends[1], _text(item, "relationship", where), _text(item, "topnode", where, "dpt"),
            quantity, _attributes(item, where)))
    return versions, relationships


def _list(document, key):
    items = document.get(key, [])
    if not isinstance(items, list):
        raise ManifestError("the manifest's '%s' is not a list" % key)
    return items


def _design(item, where, files_folder):
    item = _entry(item, _DESIGN_KEYS, where)
    name = _text(item, "name", where)
    where = "design '%s'" % name
    files = item["files"]
    if not isinstance(files, list) or not files:
        raise ManifestError("%s: 'files' must list at least one file" % where)
    contents = []
    for file_name in files:
        fault = okt_vault.file_name_fault(file_name) if isinstance(file_name, str) else "is not a text"
        if fault:
            raise ManifestError("%s: the file name %r %s" % (where, file_name, fault))
        try:
            with open(os.path.join(files_folder, file_name), "rb") as stream:
                contents.append((file_name, stream.read()))
        except OSError as error:
            raise ManifestError("%s: cannot read the file '%s': %s"
                                % (where, file_name, error.strerror or error)) from None
    return okt_vault.NewVersion(name, name, _text(item, "type", where), _text(item, "servertype", where),
                                _text(item, "revision", where, "A"), contents, _attributes(item, where))


def seed(vault, path=SAMPLE_MANIFEST, user=SEED_USER):
    """Writes the manifest's designs into the vault as their first versions, in one write.
    Returns their number, or 0 when the vault already holds a design of one of their names."""
    versions, relationships = load(path)
    present = set(vault.find("*"))
    if any(version.name in present for version in versions):
        return 0
    try:
        vault.add_versions(versions, relationships, user)
    except okt_vault.VaultError as error:
        raise ManifestError("the manifest '%s' cannot be stored: %s" % (path, error)) from None
    return len(versions)

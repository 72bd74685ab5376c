"""The commands about the state of a user's files: update checks ("checkforupdatecurrent",
"checkforupdateall"), attribute synchronisation ("attributesynch") and object details
("cadobjdetails"). Their requests are flat object lists (see okt_workspace).

A file is brought up to date when it is an older version of its design: the latest version's file
replaces it. A file that is no version of the vault (changed locally, or missing) is never
replaced; it is listed under "errorfiles". The files to check are those the request lists, and for
"checkforupdateall" also every file that this user's checkouts and check-ins placed.
"""

import os
import xml.etree.ElementTree as ET

import okt_files
import okt_vault
import okt_workspace
from okt_checkin import read_pairs
from okt_commands import Refused, command, success
from okt_designs import Failed, served

FLAT_ATTRIBUTES = ("name", "type", "cadid", "dirname", "filename")
SERVER_ATTRIBUTES = ("bustype", "busname", "busrevision")
DIRECTIONS = ("cad-to-ledgra", "ledgra-to-cad")


class _Check:
    """One file to bring up to date: the answer's attributes, its folder and name."""

    def __init__(self, identity, folder, file_name):
        self.identity = identity
        self.folder = folder
        self.file_name = file_name


def _update(vault, user, check, version, position, updated, failed):
    """Brings one file up to date; lists it in updated or failed (nothing when it is the latest)."""
    path = check.folder.rstrip("/") + "/" + check.file_name if check.folder else check.file_name
    attributes = dict(check.identity, downloadedpath=path)
    try:
        if not check.folder:
            raise Failed("'%s' has no folder" % check.file_name)
        if version is None:
            raise Failed("the vault has no design '%s'" % check.identity.get("name"))
        latest = okt_workspace.latest_files(vault, version)
        if position is None:
            raise Failed("design '%s' has no file '%s'" % (latest.name, check.file_name))
        state, _number = okt_workspace.local_state(vault, latest, position, path)
        if state == okt_workspace.CHECKED_IN:
            return
        if state == okt_workspace.MODIFIED:
            raise Failed("'%s' is no version of design '%s' (changed here, or missing); it was left as it is"
                         % (path, latest.name))
        sha = latest.files[position - 1][1]
        okt_files.place_files(check.folder, [(check.file_name, lambda stream: vault.copy_content(sha, stream))])
        vault.record_local_copies(user, [(path, latest.design_id, position)])
    except (Failed, okt_vault.VaultError, OSError, ValueError) as error:
        text = error.strerror if isinstance(error, OSError) and error.strerror else str(error)
        ET.SubElement(ET.SubElement(failed, "cadobject", attributes), "message").text = text
        return
    attributes.update(qxtype=latest.server_type, qxversion=str(latest.number))
    ET.SubElement(updated, "cadobject", attributes)


def _check_listed(vault, user, items, updated, failed):
    for item in items:
        version = okt_workspace.resolve(vault, item)
        position = None
        if version is not None:
            position = okt_workspace.file_position(okt_workspace.latest_files(vault, version), item.file_name)
        _update(vault, user, _Check(item.identity(), item.folder, item.file_name), version, position,
                updated, failed)


def _answer_lists():
    info = ET.Element("info")
    return info, ET.SubElement(info, "cadobjectlist"), ET.SubElement(info, "errorfiles")


@command("checkforupdatecurrent", login_required=True)
@served
def check_for_update_current(request, session, vault):
    items = okt_workspace.read_objects(request, FLAT_ATTRIBUTES, SERVER_ATTRIBUTES)
    if not items:
        raise Refused("checkforupdatecurrent request names no object")
    info, updated, failed = _answer_lists()
    _check_listed(vault, session.user, items, updated, failed)
    return success(info=info)


@command("checkforupdateall", login_required=True)
@served
def check_for_update_all(request, session, vault):
    items = okt_workspace.read_objects(request, FLAT_ATTRIBUTES, SERVER_ATTRIBUTES)
    info, updated, failed = _answer_lists()
    _check_listed(vault, session.user, items, updated, failed)
    listed = {item.path for item in items}
    for path, design_id, position in vault.local_copies(session.user):
        if path in listed:
            continue
        version = vault.describe(vault.latest(design_id))
        folder, file_name = os.path.split(path)
        identity = {"name": version.name, "type": version.cad_type, "cadid": "", "filename": file_name,
                    "dirname": folder}
        _update(vault, session.user, _Check(identity, folder, file_name), version, position, updated, failed)
    return success(info=info)


@command("attributesynch", login_required=True)
@served
def attribute_synch(request, session, vault):
    direction = request.get("direction")
    if direction not in DIRECTIONS:
        raise Refused("attributesynch request has direction='%s'; it must be %s"
                      % (direction, " or ".join("'%s'" % name for name in DIRECTIONS)))
    to_server = direction == DIRECTIONS[0]
    items = okt_workspace.read_objects(request, FLAT_ATTRIBUTES + ("selectable",), SERVER_ATTRIBUTES,
                                       ("attribute",) if to_server else ())
    if not items:
        raise Refused("attributesynch request names no object")
    sent = [read_pairs(item.element, item.where) for item in items]
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    for item, pairs in zip(items, sent):
        version = okt_workspace.resolve(vault, item)
        message = ""
        try:
            if version is None:
                raise Failed("the vault has no design '%s'" % (item.server_name or item.name))
            if to_server:
                vault.set_attributes(version.id, pairs, session.user)
            values = okt_workspace.latest_files(vault, version).attributes
        except (Failed, okt_vault.VaultError) as error:
            message, values = str(error), []
        element = ET.SubElement(listed, "cadobject", dict(
            item.identity(), selectable=item.element.get("selectable"),
            modified="true" if values and not to_server else "false",
            success="false" if message else "true"))
        ET.SubElement(element, "message").text = message
        for name, value in values:
            pair = ET.SubElement(element, "attribute")
            ET.SubElement(pair, "name").text = name
            ET.SubElement(pair, "value").text = value
    return success(info=info)


@command("cadobjdetails", login_required=True)
@served
def cad_object_details(request, session, vault):
    items = okt_workspace.read_objects(request, ("cadid", "dirname", "type", "filename", "name"), ("selectable",))
    if not items:
        raise Refused("cadobjdetails request names no object")
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    for item in items:
        if item.element.get("selectable", "true") != "true":
            raise Refused("%s has selectable='%s'; the client writes 'true' or nothing"
                          % (item.where, item.element.get("selectable")))
        version = okt_workspace.resolve(vault, item)
        attributes = dict(item.identity(), load="true", filenamewithpath=item.path,
                          selected="true" if "selectable" in item.element.attrib else "false",
                          status=okt_workspace.NEW, islocked="false", checkinaccess="true")
        if version is not None:
            latest = okt_workspace.latest_files(vault, version)
            state, _number = okt_workspace.local_state(
                vault, latest, okt_workspace.file_position(latest, item.file_name), item.path)
            holder = version.locked_by
            attributes.update(status=state, islocked="true" if holder else "false",
                              checkinaccess="false" if holder and holder != session.user else "true",
                              busname=version.name, busrevision=version.revision,
                              bustype=version.server_type, qxversion=str(version.number))
            if holder:
                attributes.update(lockedby=holder, locker=holder)
        ET.SubElement(listed, "cadobject", attributes)
    return success(info=info)

"""Locks: "lock-unlock" ("lockunlockEx" is the same request in the extended flow) and "userlockstatus".

A lock-unlock request is a product structure as a check-in sends it (see okt_checkin). Its
top-level objects, and every object marked selected="true", are acted on: they are unlocked when
the user holds every one of them already, else locked for the user; "prelock"="true" on the command
always locks. A design that another user holds is not changed: its object goes to the failure list,
with the holder. The answer's "cadobjectlist" holds "successlist" and "failurelist"; a successful
object carries lock (whether the user holds it now), isprevlocked (whether the user held it before)
and localcheckout ("true" for a top-level object newly locked whose file is not the latest version,
so that the client checks it out).

A lock status request is a flat list (see okt_workspace); each object is answered with islocked,
lockedby, the server type and the latest version number.
"""

import xml.etree.ElementTree as ET

import okt_workspace
from okt_checkin import CheckinRequest
from okt_commands import Refused, command, success
from okt_designs import served


def _message(element, text):
    ET.SubElement(element, "message").text = text


def _local_checkout(vault, version, item):
    """Whether a file of the object is not the design's latest version."""
    latest = okt_workspace.latest_files(vault, version)
    folder = item.folder.rstrip("/")
    return any(okt_workspace.local_state(vault, latest, okt_workspace.file_position(latest, name),
                                         folder + "/" + name)[0] != okt_workspace.CHECKED_IN
               for name in item.file_names)


def _lock_unlock(request, session, vault):
    parsed = CheckinRequest(request)
    prelock = request.get("prelock")
    if prelock not in (None, "true", "false"):
        raise Refused("%s request has prelock='%s'; it must be 'true' or 'false'" % (request.cname, prelock))
    top = set(parsed.top)
    acted = [cadid for cadid in parsed.reached()
             if cadid in top or parsed.objects[cadid].element.get("selected") == "true"]
    versions = {}
    for cadid in acted:
        item = parsed.objects[cadid]
        found = vault.resolve(item.name, item.revision)
        versions[cadid] = found and vault.describe(found)
    designs = {version.design_id: version.locked_by for version in versions.values() if version}
    unlock = prelock != "true" and bool(designs) and all(holder == session.user for holder in designs.values())
    before = vault.change_locks([(design_id, not unlock) for design_id in designs], session.user)
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    successes = ET.SubElement(listed, "successlist")
    failures = ET.SubElement(listed, "failurelist")
    for cadid in acted:
        item = parsed.objects[cadid]
        version = versions[cadid]
        identity = {"cadid": cadid, "name": item.name, "filename": "|".join(item.file_names),
                    "dirname": item.folder, "type": item.cad_type}
        if version is None:
            _message(ET.SubElement(failures, "cadobject", identity),
                     "the vault has no design '%s'" % item.name)
            continue
        holder = before.get(version.design_id)
        if holder is not None and holder != session.user:
            _message(ET.SubElement(failures, "cadobject", dict(identity, lockedby=holder)),
                     "design '%s' revision %s is locked by %s" % (version.name, version.revision, holder))
            continue
        newly_locked = not unlock and holder is None
        attributes = dict(identity, parentid=item.element.get("parentid", ""), qxtype=version.server_type,
                          lock="false" if unlock else "true",
                          isprevlocked="true" if holder == session.user else "false",
                          qxversion=str(version.number), selected="true" if cadid in top else "false",
                          load="true", localcheckout="false")
        if not unlock:
            attributes["lockedby"] = session.user
        if newly_locked and cadid in top and _local_checkout(vault, version, item):
            attributes["localcheckout"] = "true"
        ET.SubElement(successes, "cadobject", attributes)
    return success(info=info)


@command("lock-unlock", login_required=True)
@served
def lock_unlock(request, session, vault):
    return _lock_unlock(request, session, vault)


@command("lockunlockEx", login_required=True)
@served
def lock_unlock_ex(request, session, vault):
    return _lock_unlock(request, session, vault)


@command("userlockstatus", login_required=True)
@served
def user_lock_status(request, session, vault):
    items = okt_workspace.read_objects(request, ("type", "name", "dirname", "cadid", "filename"))
    if not items:
        raise Refused("userlockstatus request names no object")
    info = ET.Element("info")
    listed = ET.SubElement(info, "cadobjectlist")
    for item in items:
        version = okt_workspace.resolve(vault, item)
        attributes = dict(item.identity(), islocked="false")
        if version is not None:
            attributes.update(qxtype=version.server_type, qxversion=str(version.number),
                              islocked="true" if version.locked_by else "false")
            if version.locked_by:
                attributes["lockedby"] = version.locked_by
        ET.SubElement(listed, "cadobject", attributes)
    return success(info=info)

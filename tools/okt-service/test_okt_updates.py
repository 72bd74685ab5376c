"""Tests of update checks, attribute synchronisation, object details and deep structures."""

import os
import shutil
import unittest
import xml.etree.ElementTree as ET

import okt_manifest
import okt_vault
import okt_xml
from test_okt_checkin import structure_request
from test_okt_service import envelope, temporary_folder, write
from test_vault_support import SAMPLE_FILES, objects, pairs, perform, read, refusal


def flat(folder, *names, **extra):
    """A flat object list of sample designs in folder."""
    return objects(*({"name": name, "type": "part", "cadid": "c-" + name, "dirname": folder,
                      "filename": name + ".prt", **extra} for name in names))


def by_name(response, path="info/cadobjectlist/cadobject"):
    return {element.get("name"): element for element in response.findall(path)}


class WorkspaceTest(unittest.TestCase):
    def setUp(self):
        self.vault = okt_vault.Vault(os.path.join(temporary_folder(self), "vault"))
        self.addCleanup(self.vault.close)
        okt_manifest.seed(self.vault)
        # Alice checks the assembly out; Bob checks in a new cover and locks the housing.
        self.mine = temporary_folder(self)
        perform(self.vault, envelope("checkout", objects({"name": "Gearbox", "dirname": self.mine})))
        theirs = temporary_folder(self)
        shutil.copytree(SAMPLE_FILES, theirs, dirs_exist_ok=True)
        write(os.path.join(theirs, "Cover.prt"), "cover, second version")
        self.assertEqual(refusal(perform(self.vault, structure_request("checkin", ["Housing"], theirs), "bob")), "")
        perform(self.vault, structure_request("lock-unlock", ["Housing"], theirs), "bob")
        write(os.path.join(self.mine, "Gasket.prt"), "edited here")

    def test_update_checks_copy_newer_versions_and_keep_local_changes(self):
        for cname, body, updated, failed in (
                ("checkforupdatecurrent", flat(self.mine, "Cover", "Gasket", "Nameplate", "Nowhere"),
                 ["Cover"], ["Gasket", "Nowhere"]),
                ("checkforupdatecurrent", flat("", "Cover"), [], ["Cover"]),
                ("checkforupdateall", "", [], ["Gasket"])):
            with self.subTest(cname=cname, updated=updated):
                response = perform(self.vault, envelope(cname, body))
                self.assertEqual((sorted(by_name(response)), sorted(by_name(response, "info/errorfiles/cadobject"))),
                                 (updated, failed), refusal(response))
                for element in by_name(response).values():
                    self.assertEqual((element.get("downloadedpath"), element.get("qxversion")),
                                     (os.path.join(self.mine, "Cover.prt"), "2"))
        self.assertEqual((read(os.path.join(self.mine, "Cover.prt")), read(os.path.join(self.mine, "Gasket.prt"))),
                         (b"cover, second version", b"edited here"))
        # The user's other checked-out files are found without being listed.
        shutil.copy(os.path.join(SAMPLE_FILES, "Cover.prt"), self.mine)
        response = perform(self.vault, envelope("checkforupdateall"))
        self.assertEqual(sorted(by_name(response)), ["Cover"])
        self.assertIn("names no object", refusal(perform(self.vault, envelope("checkforupdatecurrent", "<cadobjectlist/>"))))

    def test_object_details_report_state_lock_and_access(self):
        fields = ("status", "islocked", "lockedby", "locker", "checkinaccess", "qxversion", "busrevision")
        response = perform(self.vault, envelope("cadobjdetails", flat(self.mine, "Cover", "Gasket", "Nameplate",
                                                                      "Nowhere", selectable="true")))
        self.assertEqual({name: tuple(element.get(field) for field in fields)
                          for name, element in by_name(response).items()},
                         {"Cover": ("outofdate", "true", "bob", "bob", "false", "2", "B"),
                          "Gasket": ("modified", "true", "bob", "bob", "false", "2", "A"),
                          "Nameplate": ("checkedin", "false", None, None, "true", "1", "A"),
                          "Nowhere": ("new", "false", None, None, "true", None, None)})
        for body, reason in ((flat("work", "Cover"), "dirname='work'"), (objects({"name": "Cover"}), "lacks"),
                             (flat(self.mine, "Cover", colour="red"), "'colour'"),
                             (flat(self.mine, "../Cover"), "path separator")):
            self.assertIn(reason, refusal(perform(self.vault, envelope("cadobjdetails", body))))

    def test_attribute_synchronisation_both_ways(self):
        def synch(direction, names, user="alice", values=()):
            body = ET.fromstring(flat(self.mine, *names, selectable="true"))
            for element in body:
                for name, value in values:
                    pair = ET.SubElement(element, "attribute")
                    ET.SubElement(pair, "name").text = name
                    ET.SubElement(pair, "value").text = value
            return perform(self.vault, envelope("attributesynch", ET.tostring(body, encoding="unicode"),
                                                direction=direction), user)

        response = synch("cad-to-ledgra", ["Nameplate", "Cover", "Nowhere"], values=[("material", "AlMg5"),
                                                                                   ("finish", "anodised")])
        self.assertEqual({name: (element.get("success"), bool(element.findtext("message")))
                          for name, element in by_name(response).items()},
                         {"Nameplate": ("true", False), "Cover": ("false", True), "Nowhere": ("false", True)})
        answered = by_name(synch("ledgra-to-cad", ["Nameplate"]))["Nameplate"]
        self.assertEqual((pairs(answered), answered.get("modified")),
                         ([("description", "Type plate"), ("material", "AlMg5"), ("finish", "anodised")], "true"))
        for direction, values, reason in (("sideways", (), "direction"),
                                          ("ledgra-to-cad", [("material", "x")], "'attribute'")):
            self.assertIn(reason, refusal(synch(direction, ["Nameplate"], values=values)))


class DeepStructureTest(unittest.TestCase):
    def test_a_chain_ten_thousand_levels_deep_is_answered(self):
        depth = 10_000
        with okt_vault.Vault(os.path.join(temporary_folder(self), "vault")) as vault:
            versions = [okt_vault.NewVersion(str(level), "P%d" % level, "assembly", "CAD Assembly", "A",
                                             [("P%d.asm" % level, b"level")]) for level in range(depth)]
            vault.add_versions(versions, [okt_vault.NewRelationship(str(level), str(level + 1), "assembly")
                                          for level in range(depth - 1)], "alice")
            response = perform(vault, envelope("find", objects({"name": "P0"})))
        node, levels = response.find("info/structure/cadobject"), 1
        while node.find("cadobject") is not None:
            node, levels = node.find("cadobject"), levels + 1
        self.assertEqual((levels, len(response.findall("info/cadobjectlist/cadobject"))), (depth, depth))
        self.assertEqual(okt_xml.parse(okt_xml.to_document(response)).tag, "response")


if __name__ == "__main__":
    unittest.main()

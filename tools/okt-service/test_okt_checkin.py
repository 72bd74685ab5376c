"""Tests of check-in and version recognition against the vault."""

import copy
import os
import shutil
import unittest
import xml.etree.ElementTree as ET

import okt_vault
from test_okt_service import Service, envelope, temporary_folder, write
from test_vault_support import (MANIFEST, SAMPLE_FILES, exchange, folder_contents, listed, manifest_uses, objects,
                           perform, refusal, uses)

DESIGNS = {design["name"]: design for design in MANIFEST["designs"]}
CADIDS = {name: "cad-%d" % number for number, name in enumerate(DESIGNS, 1)}


def add_pairs(parent, items):
    for name, value in items:
        element = ET.SubElement(parent, "attribute")
        ET.SubElement(element, "name").text = name
        ET.SubElement(element, "value").text = value


def structure_request(cname, roots, folder=SAMPLE_FILES, family=()):
    """A request shaped as the client's structure builder writes it: the sample assembly walked
    top-down from roots (in "active") and family, each design listed and expanded at its first use only."""
    root = ET.fromstring(envelope(cname))
    relationships, listed, structure = (ET.SubElement(root, tag)
                                        for tag in ("relationshiplist", "cadobjectlist", "structure"))
    sections = {section: ET.SubElement(structure, section) for section in ("family", "active")}
    seen = set()

    def place(parent, name, rid):
        node = ET.SubElement(parent, "cadobject", {"cadid": CADIDS[name]})
        if rid:
            ET.SubElement(node, "relationship", {"rid": rid})
        if name in seen:
            return
        seen.add(name)
        node.set("firstentry", "true")
        design = DESIGNS[name]
        add_pairs(ET.SubElement(listed, "cadobject", {
            "name": name, "filename": "|".join(design["files"]), "dirname": folder, "cadid": CADIDS[name],
            "modified": "true", "type": design["type"], "parentid": "", "selected": "true", "typelist": "",
            "qx_type": "", "uid": name + "|" + folder, "bustype": design["servertype"],
            "busrevision": design.get("revision", "A"), "selectable": "true"}),
            design.get("attributes", {}).items())
        for use in (use for use in MANIFEST["relationships"] if use["parent"] == name):
            rid = str(len(relationships) + 1)
            add_pairs(ET.SubElement(relationships, "relationship", {
                "cadrelationship": use["relationship"], "rid": rid, "structureview": "",
                "topnode": use.get("topnode", "dpt"), "mustinstructure": "true"}),
                [("Quantity", str(use.get("quantity", 1)))] + list(use.get("attributes", {}).items()))
            place(node, use["child"], rid)

    for section, names in (("active", roots), ("family", family)):
        for name in names:
            place(sections[section], name, None)
    return root


def sparse_request(whole, names):
    """The partial request the client cuts from a whole one for some top-level objects: the whole
    lists and the first node of each object with everything below it."""
    root = ET.Element("response", dict(whole.attrib, result="success", focusbrowser="false"))
    root.extend(copy.deepcopy(whole.find(section)) for section in ("relationshiplist", "cadobjectlist"))
    root.append(ET.fromstring("<structure><family/><active/></structure>"))
    for name in names:
        node = copy.deepcopy(whole.find(".//structure/active//cadobject[@cadid='%s'][@firstentry]" % CADIDS[name]))
        for entry in node.findall("relationship"):
            node.remove(entry)
        root.find("structure/active").append(node)
    return root


def content(vault):
    """Every version of the vault with its files, attributes and uses, by design name."""
    snapshot = vault.load([row[0] for row in vault.db.execute("SELECT id FROM version")])
    versions, relationships = snapshot.versions, snapshot.relationships
    return sorted((version.name, version.revision, version.number, version.cad_type, version.server_type,
                   [(name, sha) for name, sha, _size in version.files], version.attributes,
                   [(versions[use.child].name, versions[use.child].number, use.cad_relationship, use.topnode,
                     use.quantity, use.attributes)
                    for use in (relationships[rid] for rid in snapshot.children.get(version.id, ()))])
                  for version in versions.values())


class CheckinTest(unittest.TestCase):
    def setUp(self):
        self.folder = temporary_folder(self)
        self.vault = okt_vault.Vault(os.path.join(self.folder, "vault"))
        self.addCleanup(self.vault.close)

    def succeed(self, root):
        response = perform(self.vault, root)
        self.assertEqual(response.get("result"), "success", response.findtext("info/reason"))
        return listed(response)

    def test_check_in_stores_versions_that_recognition_and_checkout_find(self):
        fields = ("cadid", "designstatus", "qxtype", "qxversion", "selected")
        for cname, number, status in (("recognizeversion", None, "new"), ("checkin", 1, "new"),
                                      ("checkin", 2, "checkedin"), ("recognizeversion", 2, "checkedin")):
            answered = self.succeed(structure_request(cname, ["Gearbox"]))
            self.assertEqual({name: tuple(element.get(field) for field in fields)
                              for name, element in answered.items()},
                             {name: (CADIDS[name], status, number and DESIGNS[name]["servertype"],
                                     number and str(number), str(name == "Gearbox").lower())
                              for name in DESIGNS}, (cname, number))
        # A design placed in "family" only is stored as well, not as a top-level object.
        answered = self.succeed(structure_request("checkin", ["Cover"], family=["Gasket"]))
        self.assertEqual({name: element.get("selected") for name, element in answered.items()},
                         {"Cover": "true", "Gasket": "false"})
        target = temporary_folder(self)
        response = perform(self.vault, envelope("checkout", objects(
            {"name": "Gearbox", "dirname": target, "qxversion": "1"})))
        self.assertEqual(uses(response), manifest_uses())
        self.assertEqual(folder_contents(target), folder_contents(SAMPLE_FILES))
        self.assertEqual(self.vault.check(), [])

    def test_partial_requests_served_store_what_the_whole_request_stores(self):
        whole = structure_request("checkin", ["Gearbox", "Housing", "Nameplate"])
        self.succeed(whole)
        vault = os.path.join(self.folder, "sparse")
        service = Service("--vault", vault)
        self.addCleanup(service.close)
        with service.connect() as connection:
            for request in (envelope("login"), sparse_request(whole, ["Housing"]),
                            sparse_request(whole, ["Gearbox", "Nameplate"])):
                response = exchange(connection, self.folder, request)
                self.assertEqual(response.get("result"), "success", response.findtext("info/reason"))
                self.assertLessEqual({element.get("qxversion") for element in response.iter("cadobject")}, {"1"})
        self.assertEqual(service.stop(), 0)
        with okt_vault.Vault(vault) as sparse:
            self.assertEqual(content(sparse), content(self.vault))

    def test_malformed_requests_are_refused_and_store_nothing(self):
        files = os.path.join(self.folder, "files")
        shutil.copytree(SAMPLE_FILES, files, ignore=lambda _folder, _names: ["Cover.prt", "Gasket.prt"])
        os.symlink(write(os.path.join(self.folder, "outside.prt"), "secret"), os.path.join(files, "Cover.prt"))
        os.mkdir(os.path.join(files, "Gasket.prt"))

        def edit(change, roots=("Housing",), folder=SAMPLE_FILES):
            root = structure_request("checkin", list(roots), folder)
            change(root)
            return root

        def node(root, name, where=".//structure/active//"):
            return root.find(where + "cadobject[@cadid='%s']" % CADIDS[name])

        def listed_as(attribute, value):
            return edit(lambda root: node(root, "Cover", "cadobjectlist/").set(attribute, value))

        def cycle(root):
            loop = ET.SubElement(node(root, "Cover"), "cadobject", {"cadid": CADIDS["Housing"]})
            loop.append(copy.deepcopy(node(root, "Gasket").find("relationship")))

        for label, root, reason in (
                ("missing section", edit(lambda root: root.remove(root.find("relationshiplist"))),
                 "relationshiplist"),
                ("unknown relationship", edit(lambda root: node(root, "Cover").find("relationship").set("rid", "99")),
                 "'99'"),
                ("unknown object", edit(lambda root: node(root, "Cover").set("cadid", "nowhere")), "'nowhere'"),
                ("cycle", edit(cycle), "contains itself"),
                ("file outside its folder", listed_as("filename", "../outside.prt"), "inside their folder"),
                ("relative folder", listed_as("dirname", "files"), "dirname"),
                ("link", edit(lambda root: None, ["Cover"], files), "link"),
                ("not a file", edit(lambda root: None, ["Gasket"], files), "not a regular file"),
                ("unplaced object", edit(lambda root: node(root, "Housing").remove(node(root, "Cover"))), "nowhere"),
                ("bad quantity", edit(lambda root: root.find("relationshiplist/relationship/attribute/value")
                                      .__setattr__("text", "0")), "Quantity")):
            with self.subTest(label):
                self.assertIn(reason, refusal(perform(self.vault, root)))
        self.assertEqual(content(self.vault), [])
        self.assertEqual(self.vault.check(), [])


if __name__ == "__main__":
    unittest.main()

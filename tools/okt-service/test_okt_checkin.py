"""Tests of check-in and version recognition against the vault."""

import copy
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import okt_checkin  # noqa: E402,F401  (registers the check-in commands)
import okt_commands  # noqa: E402
import okt_protocol  # noqa: E402
import okt_settings  # noqa: E402
import okt_vault  # noqa: E402
import okt_xml  # noqa: E402
from test_okt_service import Service, envelope, pointer_text, receive  # noqa: E402
from test_okt_vault import MANIFEST, SAMPLE_FILES, manifest_uses, objects, uses  # noqa: E402

DESIGNS = {design["name"]: design for design in MANIFEST["designs"]}
CADIDS = {name: "cad-%d" % number for number, name in enumerate(DESIGNS, 1)}


def pair(parent, name, value):
    element = ET.SubElement(parent, "attribute")
    ET.SubElement(element, "name").text = name
    ET.SubElement(element, "value").text = value


def structure_request(cname, roots, folder=SAMPLE_FILES):
    """A request shaped as the client's structure builder writes it: the sample assembly walked
    top-down from roots, each design listed and expanded at its first use only."""
    root = ET.fromstring(envelope(cname))
    relationships = ET.SubElement(root, "relationshiplist")
    listed = ET.SubElement(root, "cadobjectlist")
    structure = ET.SubElement(root, "structure")
    ET.SubElement(structure, "family")
    active = ET.SubElement(structure, "active")
    seen = set()

    def place(parent, name, rid):
        node = ET.SubElement(parent, "cadobject", {"cadid": CADIDS[name]})
        if rid is not None:
            ET.SubElement(node, "relationship", {"rid": rid})
        if name in seen:
            return
        seen.add(name)
        node.set("firstentry", "true")
        design = DESIGNS[name]
        entry = ET.SubElement(listed, "cadobject", {
            "name": name, "filename": "|".join(design["files"]), "dirname": folder,
            "cadid": CADIDS[name], "modified": "true", "type": design["type"], "parentid": "",
            "selected": "true", "typelist": "", "qx_type": "", "uid": name + "|" + folder,
            "bustype": design["servertype"], "busrevision": design.get("revision", "A"),
            "selectable": "true"})
        for item in design.get("attributes", {}).items():
            pair(entry, *item)
        for use in MANIFEST["relationships"]:
            if use["parent"] == name:
                child_rid = str(len(relationships) + 1)
                relationship = ET.SubElement(relationships, "relationship", {
                    "cadrelationship": use["relationship"], "rid": child_rid, "structureview": "",
                    "topnode": use.get("topnode", "dpt"), "mustinstructure": "true"})
                pair(relationship, "Quantity", str(use.get("quantity", 1)))
                for item in use.get("attributes", {}).items():
                    pair(relationship, *item)
                place(node, use["child"], child_rid)

    for name in roots:
        place(active, name, None)
    return root


def sparse_requests(whole, groups):
    """The partial requests the client cuts from a whole one: per group of top-level objects the
    whole lists and the first node of each object with everything below it."""
    parts = []
    for group in groups:
        root = ET.Element("response", dict(whole.attrib, result="success", focusbrowser="false"))
        root.append(copy.deepcopy(whole.find("relationshiplist")))
        root.append(copy.deepcopy(whole.find("cadobjectlist")))
        structure = ET.SubElement(root, "structure")
        ET.SubElement(structure, "family")
        active = ET.SubElement(structure, "active")
        for name in group:
            first = next(node for node in whole.find("structure/active").iter("cadobject")
                         if node.get("cadid") == CADIDS[name])
            node = copy.deepcopy(first)
            for entry in node.findall("relationship"):
                node.remove(entry)
            active.append(node)
        parts.append(root)
    return parts


def perform(vault, root):
    request = okt_protocol.Request(None, okt_xml.parse(ET.tostring(root)))
    session = okt_commands.Session()
    session.user = "alice"
    reply = okt_commands.perform(request, session, okt_settings.ServiceData(None, [], vault=vault))
    return okt_xml.parse(okt_xml.to_document(okt_protocol.build_response(reply, request)))


def check_in_file(vault_folder, request_path):
    """Checks in the request in the file (run in a process of its own, to be ended half-way)."""
    with okt_vault.Vault(vault_folder) as vault, open(request_path, "rb") as stream:
        perform(vault, ET.fromstring(stream.read()))


def content(vault):
    """Every version of the vault with its files, attributes and uses, by design name."""
    ids = [row[0] for row in vault.db.execute("SELECT id FROM version")]
    snapshot = vault.load(ids)
    versions = snapshot.versions

    def use(rid):
        relationship = snapshot.relationships[rid]
        child = versions[relationship.child]
        return (child.name, child.number, relationship.cad_relationship, relationship.topnode,
                relationship.quantity, relationship.attributes)

    return sorted((version.name, version.revision, version.number, version.cad_type, version.server_type,
                   [(name, sha) for name, sha, _size in version.files], version.attributes,
                   [use(rid) for rid in snapshot.children.get(version.id, ())])
                  for version in versions.values())


class CheckinTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="okt-checkin-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.path = os.path.join(self.folder, "vault")
        self.vault = okt_vault.Vault(self.path)
        self.addCleanup(self.vault.close)

    def succeed(self, root):
        response = perform(self.vault, root)
        self.assertEqual(response.get("result"), "success", response.findtext("info/reason"))
        return {element.get("name"): element for element in response.findall("info/cadobjectlist/cadobject")}

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
        request = structure_request("checkin", ["Cover", "Gasket"])
        gasket = request.find("structure/active")[1]
        request.find("structure/active").remove(gasket)
        request.find("structure/family").append(gasket)
        answered = self.succeed(request)
        self.assertEqual({name: element.get("selected") for name, element in answered.items()},
                         {"Cover": "true", "Gasket": "false"})
        target = os.path.join(self.folder, "out")
        os.mkdir(target)
        response = perform(self.vault, ET.fromstring(envelope("checkout", objects(
            {"name": "Gearbox", "dirname": target, "qxversion": "1"}))))
        self.assertEqual(uses(response), manifest_uses())
        for name in os.listdir(SAMPLE_FILES):
            with open(os.path.join(SAMPLE_FILES, name), "rb") as sent, open(os.path.join(target, name), "rb") as got:
                self.assertEqual(sent.read(), got.read(), name)
        self.assertEqual(self.vault.check(), [])

    def test_partial_requests_served_store_what_the_whole_request_stores(self):
        roots = ["Gearbox", "Housing", "Nameplate"]
        self.succeed(structure_request("checkin", roots))
        vault = os.path.join(self.folder, "sparse")
        service = Service("--vault", vault)
        self.addCleanup(service.close)
        stray = ET.fromstring(envelope("ping"))
        stray.tag = "response"
        parts = sparse_requests(structure_request("checkin", roots), [["Housing"], ["Gearbox", "Nameplate"]])
        exchanges = [(ET.fromstring(envelope("login")), "success")] + [(part, "success") for part in parts]
        with service.connect() as connection:
            for root, result in exchanges + [(stray, "failure")]:
                with open(os.path.join(self.folder, "QxRequest.xml"), "wb") as stream:
                    stream.write(ET.tostring(root))
                connection.sendall(pointer_text(self.folder))
                response = receive(connection)[0][0]
                self.assertEqual(response.get("result"), result, response.findtext("info/reason"))
                versions = {element.get("qxversion") for element in response.iter("cadobject")}
                self.assertLessEqual(versions, {"1"})
        self.assertEqual(service.stop(), 0)
        with okt_vault.Vault(vault) as sparse:
            self.assertEqual(content(sparse), content(self.vault))

    def test_malformed_requests_are_refused_and_store_nothing(self):
        outside = os.path.join(self.folder, "outside.prt")
        with open(outside, "w") as stream:
            stream.write("secret")
        files = os.path.join(self.folder, "files")
        shutil.copytree(SAMPLE_FILES, files)
        os.remove(os.path.join(files, "Cover.prt"))
        os.symlink(outside, os.path.join(files, "Cover.prt"))
        os.remove(os.path.join(files, "Gasket.prt"))
        os.mkdir(os.path.join(files, "Gasket.prt"))

        def edit(change, roots=("Housing",), folder=SAMPLE_FILES):
            root = structure_request("checkin", list(roots), folder)
            change(root)
            return root

        def entry(root, name):
            return root.find("cadobjectlist/cadobject[@cadid='%s']" % CADIDS[name])

        def node(root, name):
            return root.find(".//structure/active//cadobject[@cadid='%s']" % CADIDS[name])

        def cycle(root):
            loop = ET.SubElement(node(root, "Cover"), "cadobject", {"cadid": CADIDS["Housing"]})
            loop.append(copy.deepcopy(node(root, "Gasket").find("relationship")))

        cases = (
            ("missing section", edit(lambda root: root.remove(root.find("relationshiplist"))),
             "relationshiplist"),
            ("unknown relationship", edit(lambda root: node(root, "Cover").find("relationship").set("rid", "99")),
             "'99'"),
            ("unknown object", edit(lambda root: node(root, "Cover").set("cadid", "nowhere")), "'nowhere'"),
            ("cycle", edit(cycle), "contains itself"),
            ("file outside its folder", edit(lambda root: entry(root, "Cover").set("filename", "../outside.prt")),
             "inside their folder"),
            ("relative folder", edit(lambda root: entry(root, "Cover").set("dirname", "files")), "dirname"),
            ("link", edit(lambda root: None, ["Cover"], files), "link"),
            ("not a file", edit(lambda root: None, ["Gasket"], files), "not a regular file"),
            ("unplaced object", edit(lambda root: node(root, "Housing").remove(node(root, "Cover"))), "nowhere"),
            ("bad quantity", edit(lambda root: root.find("relationshiplist/relationship/attribute/value")
                                  .__setattr__("text", "0")), "Quantity"),
        )
        for label, root, reason in cases:
            with self.subTest(label):
                response = perform(self.vault, root)
                self.assertEqual(response.get("result"), "failure")
                self.assertIn(reason, response.findtext("info/reason"))
        self.assertEqual(content(self.vault), [])
        self.assertEqual(self.vault.check(), [])

    def test_check_in_killed_half_way_leaves_the_previous_version_whole(self):
        self.succeed(structure_request("checkin", ["Housing"]))
        before = content(self.vault)
        self.vault.close()
        request = os.path.join(self.folder, "request.xml")
        with open(request, "wb") as stream:
            stream.write(ET.tostring(structure_request("checkin", ["Gearbox"])))
        code = "import sys, test_okt_checkin; test_okt_checkin.check_in_file(sys.argv[1], sys.argv[2])"
        for step in ("stored", "inserted"):
            with self.subTest(step=step):
                result = subprocess.run([sys.executable, "-c", code, self.path, request], cwd=HERE, timeout=60,
                                        env=dict(os.environ, **{okt_vault.EXIT_AT_VARIABLE: step}))
                self.assertEqual(result.returncode, okt_vault.EXIT_AT_STATUS)
                with okt_vault.Vault(self.path) as vault:
                    self.assertEqual(vault.check(), [])
                    self.assertEqual(content(vault), before)


if __name__ == "__main__":
    unittest.main()

"""Tests of the vault and of the design commands served from it."""

import json
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest
from xml.sax.saxutils import quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import okt_commands  # noqa: E402
import okt_designs  # noqa: E402,F401  (registers the design commands)
import okt_manifest  # noqa: E402
import okt_protocol  # noqa: E402
import okt_settings  # noqa: E402
import okt_vault  # noqa: E402
import okt_xml  # noqa: E402
from test_okt_service import (SCRIPT, Service, envelope, pointer_text, receive,  # noqa: E402
                              write)

SAMPLE_FILES = os.path.join(HERE, "sample", "files")
with open(okt_manifest.SAMPLE_MANIFEST, encoding="utf-8") as _stream:
    MANIFEST = json.load(_stream)


def objects(*attribute_sets):
    """A request body naming designs: one "cadobject" per attribute dictionary."""
    return "<cadobjectlist>%s</cadobjectlist>" % "".join(
        "<cadobject %s/>" % " ".join("%s=%s" % (name, quoteattr(value)) for name, value in attributes.items())
        for attributes in attribute_sets)


def pairs(element):
    return [(pair.findtext("name"), pair.findtext("value")) for pair in element.findall("attribute")]


def listed(response):
    """The answer's objects by name."""
    return {element.get("name"): element for element in response.findall("info/cadobjectlist/cadobject")}


def uses(response):
    """Every use in the structure as (parent name, child name, relationship type, its attributes)."""
    names = {element.get("cadid"): element.get("name") for element in response.iter("cadobject")
             if element.get("name")}
    relationships = {element.get("rid"): element
                     for element in response.findall("info/relationshiplist/relationship")}
    found = []

    def walk(node):
        for child in node.findall("cadobject"):
            relationship = relationships[child.find("relationship").get("rid")]
            found.append((names[node.get("cadid")], names[child.get("cadid")],
                          relationship.get("cadrelationship"), pairs(relationship)))
            walk(child)

    for root in response.findall("info/structure/cadobject"):
        walk(root)
    return sorted(found)


def manifest_uses(parents=None):
    return sorted((item["parent"], item["child"], item["relationship"],
                   [("Quantity", str(item.get("quantity", 1)))] + list(item.get("attributes", {}).items()))
                  for item in MANIFEST["relationships"] if parents is None or item["parent"] in parents)


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


class SeededVaultTest(unittest.TestCase):
    """The design commands in process, on a vault seeded with the sample assembly."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="okt-vault-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.vault = okt_vault.Vault(os.path.join(self.folder, "vault"))
        self.addCleanup(self.vault.close)
        self.assertEqual(okt_manifest.seed(self.vault), len(MANIFEST["designs"]))
        self.data = okt_settings.ServiceData(None, [], vault=self.vault)
        self.target = os.path.join(self.folder, "checkout")
        os.mkdir(self.target)

    def answer(self, cname, body, user="alice"):
        request = okt_protocol.Request(None, okt_xml.parse(envelope(cname, body).encode("utf-8")))
        session = okt_commands.Session()
        session.user = user
        reply = okt_commands.perform(request, session, self.data)
        return okt_xml.parse(okt_xml.to_document(okt_protocol.build_response(reply, request)))

    def wanted(self, name, **attributes):
        """A request body naming one design, to be placed in the checkout folder."""
        return objects(dict({"name": name, "dirname": self.target}, **attributes))

    def reason(self, cname, body, user="alice"):
        response = self.answer(cname, body, user)
        self.assertEqual(response.get("result"), "failure")
        return response.findtext("info/reason")

    def test_find_answers_designs_by_pattern_and_id(self):
        shafts = ["Input-Shaft-Assembly", "Output-Shaft-Assembly"]
        cases = (("Zahnrad*", ["Zahnrad-ü"]), ("O'Brien ?racket", ["O'Brien bracket"]), ("歯*", ["歯車"]),
                 ("*-Shaft-Assembly", shafts), ("[*", []))
        for pattern, names in cases:
            with self.subTest(pattern=pattern):
                found = listed(self.answer("find", objects({"name": pattern})))
                self.assertEqual(sorted(name for name, element in found.items()
                                        if element.get("selected") == "true"), names)
        response = self.answer("find", objects({"name": "*-Shaft-Assembly"}))
        self.assertEqual(uses(response), manifest_uses(shafts))
        gear = listed(response)["Zahnrad-ü"]
        self.assertEqual((gear.get("filename"), gear.get("dirname"), gear.get("selected")),
                         ("Zahnrad-ü.prt", "", "false"))
        again = self.answer("find", objects({"cadid": gear.get("cadid")}))
        self.assertEqual(list(listed(again)), ["Zahnrad-ü"])
        self.assertEqual(os.listdir(self.target), [])

    def test_checkout_places_the_files_of_the_version_named_and_locks_only_on_request(self):
        self.vault.add_versions([okt_vault.NewVersion("c", "Cover", "part", "CAD Part", "B",
                                                      [("Cover.prt", b"second version")])], [], "bob")
        first = read(os.path.join(SAMPLE_FILES, "Cover.prt"))
        for extra, version, content in (({}, "2", b"second version"), ({"qxversion": "1"}, "1", first)):
            with self.subTest(extra=extra):
                response = self.answer("checkout", self.wanted("Cover", **extra))
                self.assertEqual(listed(response)["Cover"].get("qxversion"), version)
                self.assertEqual(read(os.path.join(self.target, "Cover.prt")), content)

        locked = listed(self.answer("checkout", self.wanted("Housing", lock="true")))
        self.assertEqual(locked["Housing"].get("lock"), "true")
        self.assertEqual(self.reason("checkout", self.wanted("Housing", lock="true"), user="bob"),
                         "design 'Housing' revision A is locked by alice")
        housing = listed(self.answer("checkout", self.wanted("Housing"), user="bob"))
        self.assertEqual((housing["Housing"].get("lock"), housing["Housing"].get("lockedby"),
                          housing["Cover"].get("lock")), ("false", "alice", "false"))

    def test_start_design_copies_the_template_under_the_new_name(self):
        shell = listed(self.answer("startdesign", self.wanted("Housing-Shell", renameto="Gehäuse-Mk2")))
        shell = shell["Gehäuse-Mk2"]
        self.assertEqual((shell.get("filename"), shell.get("renamedfrom"), shell.get("selected")),
                         ("Housing-Shell.prt", "Housing-Shell.prt", "true"))
        self.assertEqual(sorted(os.listdir(self.target)),
                         ["Gehäuse-Mk2.prt", "Housing-Shell-Drawing.drw", "Oil-Channel.prt"])
        self.assertEqual(read(os.path.join(self.target, "Gehäuse-Mk2.prt")),
                         read(os.path.join(SAMPLE_FILES, "Housing-Shell.prt")))
        self.assertIn("is also used in 'Housing'", self.reason("startdesign", objects(
            {"name": "Housing", "renameto": "H2", "dirname": self.target},
            {"name": "Housing-Shell", "renameto": "S2", "dirname": self.target})))

    def test_malformed_requests_and_escapes_are_refused_and_place_nothing(self):
        outside = os.path.join(self.folder, "outside")
        os.mkdir(outside)
        folder, wanted = self.target, self.wanted
        cases = (
            ("checkout", "", "must hold one 'cadobjectlist' and nothing else"),
            ("checkout", wanted("Cover") + "<structure/>", "and 'structure'"),
            ("checkout", "<cadobjectlist/>", "'cadobject' elements only, at least one"),
            ("checkout", objects({"dirname": folder}), "needs a cadid or a name"),
            ("checkout", objects({"cadid": "1 OR 1", "dirname": folder}), "cadid='1 OR 1'"),
            ("checkout", wanted("Cover", qxversion="0"), "qxversion='0'"),
            ("checkout", objects({"cadid": "9" * 30, "dirname": folder}), "18 digits at most"),
            ("checkout", wanted("Cover", lock="yes"), "lock='yes'"),
            ("checkout", objects({"name": "Cover"}), "has no folder (attribute 'dirname')"),
            ("checkout", wanted("Cover", dirname="checkout"), "must be an absolute folder"),
            ("checkout", wanted("Cover", dirname=folder + "/../outside"), "without '..'"),
            ("checkout", objects({"name": "Cover", "dirname": folder}, {"name": "Gasket", "dirname": outside}),
             "more than one folder"),
            ("checkout", wanted("Cover", busrevision="A"), "the vault has no design 'Cover' revision A"),
            ("checkout", objects({"cadid": "1", "name": "Cover", "dirname": folder}), "cadid 1 is '"),
            ("checkout", wanted("Cover", dirname=os.path.join(folder, "missing")), "cannot place the files"),
            ("startdesign", wanted("Cover"), "no new name (attribute 'renameto')"),
            ("startdesign", wanted("Cover", renameto="../outside/Cover"),
             "the file name '../outside/Cover.prt' holds a path separator"),
            ("startdesign", wanted("Cover", renameto="/tmp/Cover"), "holds a path separator"),
            ("startdesign", wanted("Gearbox", renameto="Housing"),
             "designs 'Gearbox' and 'Housing' both have a file 'Housing.asm'"),
        )
        for cname, body, message in cases:
            with self.subTest(cname=cname, body=body):
                self.assertIn(message, self.reason(cname, body))
        self.assertIn("no user is logged in", self.reason("checkout", wanted("Cover"), user=None))

        # A file name that a damaged vault holds, a folder in the way and a planted link.
        self.vault.db.execute("PRAGMA ignore_check_constraints = ON")
        rename = "UPDATE file SET name = ? WHERE name = ?"
        self.vault.db.execute(rename, ("../outside/Nameplate.prt", "Nameplate.prt"))
        self.assertIn("holds a path separator", self.reason("checkout", wanted("Nameplate")))
        self.vault.db.execute(rename, ("Nameplate.prt", "../outside/Nameplate.prt"))
        os.mkdir(os.path.join(folder, "Housing.asm"))
        self.assertIn("cannot place the files", self.reason("checkout", wanted("Gearbox")))
        self.assertEqual((os.listdir(folder), os.listdir(outside)), (["Housing.asm"], []))
        victim = write(os.path.join(outside, "victim"), "keep")
        os.symlink(victim, os.path.join(folder, "Nameplate.prt"))
        self.assertEqual(self.answer("checkout", wanted("Nameplate")).get("result"), "success")
        self.assertFalse(os.path.islink(os.path.join(folder, "Nameplate.prt")))
        self.assertEqual(read(victim), b"keep")

    def test_schema_refuses_inconsistent_rows(self):
        db = self.vault.db
        version, child, blob = db.execute("SELECT version_id, version_id, blob FROM file LIMIT 1").fetchone()
        rid = db.execute("SELECT max(id) FROM relationship").fetchone()[0]
        latest = db.execute("SELECT max(id) FROM version").fetchone()[0]
        statements = (
            ("INSERT INTO version (design_id, number, created_by, created_at) "
             "SELECT design_id, number, 'x', 'now' FROM version WHERE id = ?", (version,)),
            ("INSERT INTO file VALUES (?, 9, ?, ?)", (version, "../x", blob)),
            ("INSERT INTO file VALUES (?, 9, ?, ?)", (version, "a|b", blob)),
            ("INSERT INTO file (version_id, position, name, blob) VALUES (999, 1, 'x', ?)", (blob,)),
            ("INSERT INTO relationship (parent_id, child_id, position, cad_relationship, topnode, quantity) "
             "VALUES (?, ?, 99, 'assembly', 'dpt', 1)", (child, latest)),
            ("UPDATE relationship SET quantity = 0 WHERE id = ?", (rid,)),
            ("INSERT INTO relationship_attribute VALUES (?, 99, 'Quantity', '2')", (rid,)),
            ("UPDATE design SET name = ' ' WHERE id = 1", ()),
        )
        for statement, values in statements:
            with self.subTest(statement=statement, values=values):
                with self.assertRaises(sqlite3.IntegrityError):
                    db.execute(statement, values)
        new = okt_vault.NewVersion
        writes = (([new("a", "A", "part", "CAD Part", "A", [("a.prt", b"a")]),
                    new("b", "B", "part", "CAD Part", "A", [("b.prt", b"b")])],
                   [okt_vault.NewRelationship("a", "b", "assembly"),
                    okt_vault.NewRelationship("b", "a", "assembly")], "contains itself"),
                  ([new("a", "Housing", "part", "CAD Part", "A", [("h.prt", b"h")])], [],
                   "is of the type assembly"))
        for versions, relationships, message in writes:
            with self.subTest(message=message):
                with self.assertRaisesRegex(okt_vault.VaultError, message):
                    self.vault.add_versions(versions, relationships, "alice")
        self.assertEqual(self.vault.check(), [])


class InterruptedWriteTest(unittest.TestCase):
    def test_a_write_killed_at_any_step_leaves_the_vault_as_before_or_after(self):
        code = "import sys, okt_manifest, okt_vault; okt_manifest.seed(okt_vault.Vault(sys.argv[1]))"
        for step, after in (("stored", False), ("inserted", False), ("committed", True)):
            with self.subTest(step=step):
                folder = tempfile.mkdtemp(prefix="okt-vault-")
                self.addCleanup(shutil.rmtree, folder, True)
                result = subprocess.run([sys.executable, "-c", code, folder], cwd=HERE, timeout=60,
                                        env=dict(os.environ, **{okt_vault.EXIT_AT_VARIABLE: step}))
                self.assertEqual(result.returncode, okt_vault.EXIT_AT_STATUS)
                self.assertTrue(os.listdir(os.path.join(folder, "store")))
                journal = os.path.join(folder, "vault.sqlite-journal")
                self.assertEqual(os.path.exists(journal), step == "inserted")
                with okt_vault.Vault(folder) as vault:
                    self.assertEqual(vault.check(), [])
                    self.assertEqual(len(vault.find("*")), len(MANIFEST["designs"]) if after else 0)
                    self.assertEqual(okt_manifest.seed(vault), 0 if after else len(MANIFEST["designs"]))
                    self.assertEqual(vault.check(), [])


class ManifestTest(unittest.TestCase):
    def test_manifest_faults_are_named(self):
        folder = tempfile.mkdtemp(prefix="okt-manifest-")
        self.addCleanup(shutil.rmtree, folder, True)
        os.mkdir(os.path.join(folder, "files"))
        write(os.path.join(folder, "files", "a.prt"), "a")
        design = {"name": "A", "type": "part", "servertype": "CAD Part", "files": ["a.prt"]}
        use = {"parent": "A", "child": "A", "relationship": "x"}
        cases = (({"designs": [dict(design, colour="red")]}, "unknown key(s) colour"),
                 ({"designs": [dict(design, files=["../a.prt"])]}, "holds a path separator"),
                 ({"designs": [dict(design, files=["b.prt"])]}, "cannot read the file 'b.prt'"),
                 ({"designs": [design], "relationships": [dict(use, child="B")]},
                  "names the design 'B', which the manifest lacks"),
                 ({"designs": [design], "relationships": [dict(use, quantity=0)]}, "'quantity' must be"))
        path = os.path.join(folder, "manifest.json")
        for document, message in cases:
            with self.subTest(message=message):
                write(path, json.dumps(document))
                with self.assertRaises(okt_manifest.ManifestError) as caught:
                    okt_manifest.load(path)
                self.assertIn(message, str(caught.exception))


class ServedCheckoutTest(unittest.TestCase):
    def test_seeded_service_checks_out_the_sample_assembly(self):
        folder = tempfile.mkdtemp(prefix="okt-vault-")
        self.addCleanup(shutil.rmtree, folder, True)
        vault = os.path.join(folder, "vault")
        service = Service("--vault", vault, "--seed-sample")
        self.addCleanup(service.close)
        result = subprocess.run([sys.executable, SCRIPT, "--profile", folder, "--vault", vault],
                                capture_output=True, text=True, timeout=10)
        self.assertEqual(result.returncode, 2)
        self.assertIn("is in use by another process", result.stderr)

        target = os.path.join(folder, "O'Brien & 歯車")
        os.mkdir(target)
        with service.connect() as connection:
            for request in (envelope("login"), envelope("checkout", objects(
                    {"name": "Gearbox", "dirname": target, "lock": "true"}))):
                write(os.path.join(folder, "QxRequest.xml"), request)
                connection.sendall(pointer_text(folder))
                response = receive(connection)[0][0]
                self.assertEqual(response.get("result"), "success", response.findtext("info/reason"))

        self.assertEqual(sorted(os.listdir(target)), sorted(os.listdir(SAMPLE_FILES)))
        for name in os.listdir(SAMPLE_FILES):
            self.assertEqual(read(os.path.join(target, name)), read(os.path.join(SAMPLE_FILES, name)), name)
        found = listed(response)
        self.assertEqual(len(response.findall("info/cadobjectlist/cadobject")), len(MANIFEST["designs"]))
        for design in MANIFEST["designs"]:
            element = found[design["name"]]
            self.assertEqual((element.get("filename"), element.get("type"), element.get("qxtype"),
                              element.get("busrevision"), element.get("qxversion"), element.get("dirname"),
                              pairs(element)),
                             ("|".join(design["files"]), design["type"], design["servertype"],
                              design.get("revision", "A"), "1", target, list(design["attributes"].items())))
        self.assertEqual({name for name, element in found.items() if element.get("selected") == "true"},
                         {"Gearbox"})
        self.assertEqual({name for name, element in found.items() if element.get("lock") == "true"},
                         {"Gearbox"})
        self.assertEqual(uses(response), manifest_uses())


if __name__ == "__main__":
    unittest.main()

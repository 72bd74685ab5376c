"""Tests of the vault and of the design commands served from it."""

import json
import os
import re
import sqlite3
import unittest

import okt_manifest
import okt_vault
from test_okt_service import Service, envelope, temporary_folder, write
from test_vault_support import (MANIFEST, SAMPLE_FILES, exchange, flagged, folder_contents, listed, manifest_uses,
                           objects, pairs, perform, read, refusal, run_ended_at, uses)


class SeededVaultTest(unittest.TestCase):
    """The design commands in process, on a vault seeded with the sample assembly."""

    def setUp(self):
        self.folder = temporary_folder(self)
        self.vault = okt_vault.Vault(os.path.join(self.folder, "vault"))
        self.addCleanup(self.vault.close)
        self.assertEqual(okt_manifest.seed(self.vault), len(MANIFEST["designs"]))
        self.target = os.path.join(self.folder, "checkout")
        os.mkdir(self.target)

    def answer(self, cname, body, user="alice"):
        return perform(self.vault, envelope(cname, body), user)

    def wanted(self, name, **attributes):
        """A request body naming one design, to be placed in the checkout folder."""
        return objects(dict({"name": name, "dirname": self.target}, **attributes))

    def reason(self, cname, body, user="alice"):
        return refusal(self.answer(cname, body, user))

    def test_find_answers_designs_by_pattern_and_id(self):
        shafts = ["Input-Shaft-Assembly", "Output-Shaft-Assembly"]
        for pattern, names in (("Zahnrad*", ["Zahnrad-ü"]), ("O'Brien ?racket", ["O'Brien bracket"]),
                               ("歯*", ["歯車"]), ("*-Shaft-Assembly", shafts), ("[*", [])):
            with self.subTest(pattern=pattern):
                self.assertEqual(flagged(self.answer("find", objects({"name": pattern})), "selected"), names)
        response = self.answer("find", objects({"name": "*-Shaft-Assembly"}))
        self.assertEqual(uses(response), manifest_uses(shafts))
        gear = listed(response)["Zahnrad-ü"]
        self.assertEqual((gear.get("filename"), gear.get("dirname")), ("Zahnrad-ü.prt", ""))
        self.assertEqual(list(listed(self.answer("find", objects({"cadid": gear.get("cadid")})))), ["Zahnrad-ü"])
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

        self.assertEqual(flagged(self.answer("checkout", self.wanted("Housing", lock="true")), "lock"), ["Housing"])
        self.assertIn("locked by alice", self.reason("checkout", self.wanted("Housing", lock="true"), user="bob"))
        unlocked = self.answer("checkout", self.wanted("Housing"), user="bob")
        self.assertEqual((flagged(unlocked, "lock"), listed(unlocked)["Housing"].get("lockedby")), ([], "alice"))

    def test_start_design_copies_the_template_under_the_new_name(self):
        shell = listed(self.answer("startdesign", self.wanted("Housing-Shell", renameto="Gehäuse-Mk2")))["Gehäuse-Mk2"]
        self.assertEqual((shell.get("filename"), shell.get("renamedfrom"), shell.get("selected")),
                         ("Housing-Shell.prt", "Housing-Shell.prt", "true"))
        sample = folder_contents(SAMPLE_FILES)
        self.assertEqual(folder_contents(self.target), {
            "Gehäuse-Mk2.prt": sample["Housing-Shell.prt"], "Oil-Channel.prt": sample["Oil-Channel.prt"],
            "Housing-Shell-Drawing.drw": sample["Housing-Shell-Drawing.drw"]})
        self.assertIn("is also used in 'Housing'", self.reason("startdesign", objects(
            {"name": "Housing", "renameto": "H2", "dirname": self.target},
            {"name": "Housing-Shell", "renameto": "S2", "dirname": self.target})))

    def test_malformed_requests_and_escapes_are_refused_and_place_nothing(self):
        outside = os.path.join(self.folder, "outside")
        os.mkdir(outside)
        folder, wanted = self.target, self.wanted
        for cname, body, message in (
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
                ("startdesign", wanted("Cover", renameto="../outside/Cover"), "holds a path separator"),
                ("startdesign", wanted("Gearbox", renameto="Housing"), "both have a file 'Housing.asm'")):
            with self.subTest(cname=cname, body=body):
                self.assertIn(message, self.reason(cname, body))
        self.assertIn("no user is logged in", self.reason("checkout", wanted("Cover"), user=None))

        # A folder in the way, a file name that a damaged vault holds and a planted link.
        os.mkdir(os.path.join(folder, "Housing.asm"))
        self.assertIn("cannot place the files", self.reason("checkout", wanted("Gearbox")))
        self.vault.db.execute("PRAGMA ignore_check_constraints = ON")
        self.vault.db.execute("UPDATE file SET name = '../outside/Nameplate.prt' WHERE name = 'Nameplate.prt'")
        self.assertIn("holds a path separator", self.reason("checkout", wanted("Nameplate")))
        self.assertEqual((os.listdir(folder), os.listdir(outside)), (["Housing.asm"], []))
        victim = write(os.path.join(outside, "victim"), "keep")
        os.symlink(victim, os.path.join(folder, "Gasket.prt"))
        self.assertEqual(self.answer("checkout", wanted("Gasket")).get("result"), "success")
        self.assertFalse(os.path.islink(os.path.join(folder, "Gasket.prt")))
        self.assertEqual(read(victim), b"keep")

    def test_schema_refuses_inconsistent_rows(self):
        db = self.vault.db
        version, blob = db.execute("SELECT version_id, blob FROM file LIMIT 1").fetchone()
        rid, latest = db.execute("SELECT (SELECT max(id) FROM relationship), (SELECT max(id) FROM version)").fetchone()
        for statement, values in (
                ("INSERT INTO version (design_id, number, created_by, created_at) "
                 "SELECT design_id, number, 'x', 'now' FROM version WHERE id = ?", (version,)),
                ("INSERT INTO file VALUES (?, 9, ?, ?)", (version, "../x", blob)),
                ("INSERT INTO file VALUES (?, 9, ?, ?)", (version, "a|b", blob)),
                ("INSERT INTO file (version_id, position, name, blob) VALUES (999, 1, 'x', ?)", (blob,)),
                ("INSERT INTO relationship (parent_id, child_id, position, cad_relationship, topnode, quantity) "
                 "VALUES (?, ?, 99, 'assembly', 'dpt', 1)", (version, latest)),
                ("UPDATE relationship SET quantity = 0 WHERE id = ?", (rid,)),
                ("INSERT INTO relationship_attribute VALUES (?, 99, 'Quantity', '2')", (rid,)),
                ("UPDATE design SET name = ' ' WHERE id = 1", ())):
            with self.subTest(statement=statement, values=values), self.assertRaises(sqlite3.IntegrityError):
                db.execute(statement, values)
        new = okt_vault.NewVersion
        for versions, relationships, message in (
                ([new("a", "A", "part", "CAD Part", "A", [("a.prt", b"a")]),
                  new("b", "B", "part", "CAD Part", "A", [("b.prt", b"b")])],
                 [okt_vault.NewRelationship("a", "b", "assembly"), okt_vault.NewRelationship("b", "a", "assembly")],
                 "contains itself"),
                ([new("a", "Housing", "part", "CAD Part", "A", [("h.prt", b"h")])], [], "is of the type assembly")):
            with self.subTest(message=message), self.assertRaisesRegex(okt_vault.VaultError, message):
                self.vault.add_versions(versions, relationships, "alice")
        self.assertEqual(self.vault.check(), [])


class InterruptedWriteTest(unittest.TestCase):
    def test_a_write_killed_at_any_step_leaves_the_vault_as_before_or_after(self):
        code = "import sys, okt_manifest, okt_vault; okt_manifest.seed(okt_vault.Vault(sys.argv[1]))"
        count = len(MANIFEST["designs"])
        for step, found in (("stored", 0), ("inserted", 0), ("committed", count)):
            with self.subTest(step=step):
                folder = temporary_folder(self)
                self.assertEqual(run_ended_at(step, code, folder), okt_vault.EXIT_AT_STATUS)
                self.assertTrue(os.listdir(os.path.join(folder, "store")))
                self.assertEqual(os.path.exists(os.path.join(folder, "vault.sqlite-journal")), step == "inserted")
                with okt_vault.Vault(folder) as vault:
                    self.assertEqual(vault.check(), [])
                    self.assertEqual((len(vault.find("*")), okt_manifest.seed(vault)), (found, count - found))
                    self.assertEqual(vault.check(), [])


class ManifestTest(unittest.TestCase):
    def test_manifest_faults_are_named(self):
        folder = temporary_folder(self)
        os.mkdir(os.path.join(folder, "files"))
        write(os.path.join(folder, "files", "a.prt"), "a")
        design = {"name": "A", "type": "part", "servertype": "CAD Part", "files": ["a.prt"]}
        use = {"parent": "A", "child": "A", "relationship": "x"}
        path = os.path.join(folder, "manifest.json")
        for document, message in (
                ({"designs": [dict(design, colour="red")]}, "unknown key(s) colour"),
                ({"designs": [dict(design, files=["../a.prt"])]}, "holds a path separator"),
                ({"designs": [dict(design, files=["b.prt"])]}, "cannot read the file 'b.prt'"),
                ({"designs": [design], "relationships": [dict(use, child="B")]}, "the design 'B', which"),
                ({"designs": [design], "relationships": [dict(use, quantity=0)]}, "'quantity' must be")):
            with self.subTest(message=message), self.assertRaisesRegex(okt_manifest.ManifestError, re.escape(message)):
                okt_manifest.load(write(path, json.dumps(document)))


class ServedCheckoutTest(unittest.TestCase):
    def test_seeded_service_checks_out_the_sample_assembly(self):
        folder = temporary_folder(self)
        vault = os.path.join(folder, "vault")
        service = Service("--vault", vault, "--seed-sample")
        self.addCleanup(service.close)

        target = os.path.join(folder, "O'Brien & 歯車")
        os.mkdir(target)
        with service.connect() as connection:
            for request in (envelope("login"), envelope("checkout", objects(
                    {"name": "Gearbox", "dirname": target, "lock": "true"}))):
                response = exchange(connection, folder, request)
                self.assertEqual(response.get("result"), "success", response.findtext("info/reason"))

        self.assertEqual(folder_contents(target), folder_contents(SAMPLE_FILES))
        fields = ("filename", "type", "qxtype", "busrevision", "qxversion", "dirname")
        self.assertEqual({name: [element.get(field) for field in fields] + [pairs(element)]
                          for name, element in listed(response).items()},
                         {design["name"]: ["|".join(design["files"]), design["type"], design["servertype"],
                                           design.get("revision", "A"), "1", target, list(design["attributes"].items())]
                          for design in MANIFEST["designs"]})
        self.assertEqual((flagged(response, "selected"), flagged(response, "lock")), (["Gearbox"], ["Gearbox"]))
        self.assertEqual(uses(response), manifest_uses())


if __name__ == "__main__":
    unittest.main()

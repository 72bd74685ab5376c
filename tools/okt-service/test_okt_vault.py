"""Tests of the vault and of the design commands served from it."""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import okt_manifest  # noqa: E402
import okt_vault  # noqa: E402
from test_okt_service import write  # noqa: E402

with open(okt_manifest.SAMPLE_MANIFEST, encoding="utf-8") as _stream:
    MANIFEST = json.load(_stream)


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


if __name__ == "__main__":
    unittest.main()

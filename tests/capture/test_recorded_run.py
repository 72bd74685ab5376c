"""The recorded run of tests/data/recorded-run replays without any service from a fresh folder, and
a replayed run that sends a different request stops with the differences: run as
`test_recorded_run.py QORVI_HOST_PROGRAM`."""

import os
import re
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import recorded_run  # noqa: E402

PROGRAM = None
RECORDING = os.path.join(ROOT, "tests", "data", "recorded-run")


class RecordedRunTest(unittest.TestCase):
    def setUp(self):
        self.run_folder = tempfile.mkdtemp(prefix="qorvi-replay-test-")
        self.addCleanup(shutil.rmtree, self.run_folder, True)
        self.arguments = recorded_run.prepare_replay(RECORDING, self.run_folder)
        self.manifest = os.path.join(self.run_folder, "sample", "manifest.xml")
        with open(self.manifest, encoding="utf-8") as stream:
            self.manifest_text = stream.read()

    def edit_manifest(self, text):
        with open(self.manifest, "w", encoding="utf-8") as stream:
            stream.write(text)

    def test_replay_matches_designs_listed_in_another_order(self):
        designs = re.findall(r"  <design .*?</design>\n", self.manifest_text, re.S)
        self.assertGreater(len(designs), 2)
        self.edit_manifest(self.manifest_text.replace("".join(designs), "".join(reversed(designs))))
        host, report = recorded_run.replay(PROGRAM, self.run_folder, self.arguments)
        self.assertEqual(0, host.returncode, host.stdout + host.stderr + "\n".join(report))
        self.assertEqual([], report)
        self.assertIn("round trip: the checkout of Breather-Assembly holds the 4 designs", host.stdout)
        self.assertIn("logout:     success", host.stdout)

    def test_changed_attribute_stops_with_the_differences(self):
        self.assertIn('value="PA6"', self.manifest_text)
        self.edit_manifest(self.manifest_text.replace('value="PA6"', 'value="PA66"'))
        host, report = recorded_run.replay(PROGRAM, self.run_folder, self.arguments)
        self.assertNotEqual(0, host.returncode)
        texts = [line.split(":", 3)[-1] for line in report]
        self.assertIn("Error spotted while matching replay cadobject Breather-Cap with captured cadobject "
                      "Breather-Cap", texts)
        self.assertIn("The lists of attributes are not equal", texts)
        self.assertIn("XML Comparison failed;", texts)
        self.assertNotIn("logout:", host.stdout)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()

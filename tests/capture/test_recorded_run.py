"""The recorded run in tests/data/recorded-run replays from a fresh folder without any service; a
replayed run that sends another request stops with the differences. Run as
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


class RecordedRunTest(unittest.TestCase):
    def replay_with_manifest(self, edit):
        """Replays the recording with its manifest edited by edit(text); returns host and report."""
        run = tempfile.mkdtemp(prefix="qorvi-replay-test-")
        self.addCleanup(shutil.rmtree, run, True)
        arguments = recorded_run.prepare_replay(os.path.join(ROOT, "tests", "data", "recorded-run"), run)
        manifest = os.path.join(run, "sample", "manifest.xml")
        with open(manifest, encoding="utf-8") as stream:
            text = stream.read()
        with open(manifest, "w", encoding="utf-8") as stream:
            stream.write(edit(text))
        return recorded_run.replay(PROGRAM, run, arguments)

    def test_replay_matches_designs_listed_in_another_order(self):
        def reverse(text):
            designs = re.findall(r"  <design .*?</design>\n", text, re.S)
            self.assertGreater(len(designs), 2)
            return text.replace("".join(designs), "".join(reversed(designs)))
        host, report = self.replay_with_manifest(reverse)
        self.assertEqual((0, []), (host.returncode, report), host.stdout + host.stderr)
        self.assertIn("round trip: the checkout of Breather-Assembly holds the 4 designs", host.stdout)
        self.assertIn("logout:     success", host.stdout)

    def test_changed_attribute_stops_with_the_differences(self):
        host, report = self.replay_with_manifest(lambda text: text.replace('value="PA6"', 'value="PA66"'))
        self.assertNotEqual(0, host.returncode)
        texts = [line.split(":", 3)[-1] for line in report]
        for line in ("Error spotted while matching replay cadobject Breather-Cap with captured cadobject Breather-Cap",
                     "The lists of attributes are not equal", "XML Comparison failed;"):
            self.assertIn(line, texts)
        self.assertNotIn("logout:", host.stdout)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()

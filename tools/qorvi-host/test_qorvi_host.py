"""The demo host names what keeps it from running: run as `test_qorvi_host.py QORVI_HOST_PROGRAM`."""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

PROGRAM = None
SETTINGS = "[SERVER]\nclientname=127.0.0.1\n"


class DiagnosticsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="qorvi-host-test-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.profile = os.path.join(self.folder, "profile")
        os.mkdir(self.profile)

    def install_folder(self, settings):
        """A fresh installation folder with the given settings.ini text (None: no file)."""
        folder = tempfile.mkdtemp(dir=self.folder)
        if settings is not None:
            with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as stream:
                stream.write(settings)
        return folder

    def run_host(self, install, *arguments):
        environment = dict(os.environ, QX_DRAVIK_INSTALL_DIR=install, USERPROFILE=self.profile)
        return subprocess.run([PROGRAM] + list(arguments), env=environment, capture_output=True,
                              text=True, timeout=60)

    def test_each_mistake_is_named(self):
        with socket.socket() as suspended:  # listens, never accepts or answers: a stopped service
            suspended.bind(("127.0.0.1", 0))
            suspended.listen(1)
            with open(os.path.join(self.profile, "okt.port"), "w", encoding="ascii") as stream:
                stream.write("%d\n" % suspended.getsockname()[1])
            missing = os.path.join(self.folder, "missing")
            cases = (
                ("", (), 1, "QX_DRAVIK_INSTALL_DIR is not set"),
                (missing, (), 1, "'%s' (QX_DRAVIK_INSTALL_DIR) does not exist" % missing),
                # Not even root can create a file there.
                ("/proc", (), 1, "'/proc' (QX_DRAVIK_INSTALL_DIR) is not writable"),
                (self.install_folder(None), (), 1, "settings.ini' is missing"),
                (self.install_folder("[SERVER]\naddress=http://pdm\n[CLIENT]\nclientname=x\n"), (), 1,
                 "lacks the key \"clientname\" in the section [SERVER]"),
                (self.install_folder(SETTINGS), ("--timeout", "0"), 1, "--timeout needs a number"),
                (self.install_folder(SETTINGS), ("--timeout", "1"), 7,
                 "did not answer the login within 1 s"),
            )
            for install, arguments, status, message in cases:
                with self.subTest(install=install, arguments=arguments):
                    result = self.run_host(install, *arguments)
                    self.assertEqual(result.returncode, status, result.stderr)
                    self.assertIn(message, result.stderr)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()

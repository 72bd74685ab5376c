"""The demo host's lock commands as two users see them, each with a service of their own on one
vault holding the sample gearbox: run as `test_qorvi_host_locks.py QORVI_HOST_PROGRAM`."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

import test_qorvi_host
from test_qorvi_host import SERVICE, SETTINGS, write


def tables(output):
    """{section title: {object: row}} of the tables the lock commands print."""
    found, rows, header = {}, None, None
    for line in output.splitlines():
        title = re.match(r"^(lock|unlock|lock status): \d+ objects$", line)
        if title:
            rows, header = found.setdefault(title.group(1), {}), None
        elif rows is not None and line.startswith("  -"):
            continue
        elif rows is not None and line.startswith("  "):
            cells = re.split(r"\s{2,}", line.strip())
            if header is None:
                header = cells
            elif len(cells) == len(header):
                rows[cells[0]] = dict(zip(header, cells))
        else:
            rows = None
    return found


class TwoUsersTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="qorvi-host-locks-")
        cls.services = []
        for user in ("alice", "bob"):
            profile, install = (os.path.join(cls.folder, user, name) for name in ("profile", "install"))
            os.makedirs(profile)
            os.makedirs(install)
            write(os.path.join(install, "settings.ini"), SETTINGS)
            service = subprocess.Popen(
                [sys.executable, SERVICE, "--profile", profile, "--log", os.path.join(cls.folder, user + ".log"),
                 "--vault", os.path.join(cls.folder, "vault"), "--seed-sample"],
                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            cls.services.append(service)
            line = service.stdout.readline()
            if not line.startswith("okt-service listening on "):
                cls.tearDownClass()
                raise RuntimeError("the reference service did not start: " + line)

    @classmethod
    def tearDownClass(cls):
        for service in cls.services:
            service.terminate()
            service.wait(timeout=30)
            service.stdout.close()
        shutil.rmtree(cls.folder, True)

    def run_as(self, user, *arguments):
        """The host as the user, after a checkout of the gearbox into a folder of the user's."""
        home = os.path.join(self.folder, user)
        checkout = tempfile.mkdtemp(dir=home)
        return test_qorvi_host.run_host(
            os.path.join(home, "install"), os.path.join(home, "profile"),
            ("--user", user, "--password", "pw", "--checkout", "Gearbox", "--into", checkout) + arguments,
            DV5_001="1"), checkout

    def test_lock_held_by_the_other_user(self):
        held, _folder = self.run_as("alice", "--lock")  # the checkout locks the top-level design
        self.assertEqual(held.returncode, 0, held.stdout + held.stderr)

        result, folder = self.run_as("bob", "--lock-objects", "--lock-status")
        self.assertEqual(result.returncode, 13, result.stdout + result.stderr)
        # Alice's lock is named in the failure message; the others are now Bob's.
        failed = result.stderr.split("These objects could not be locked or unlocked:", 1)[1]
        self.assertEqual(re.findall(r"^\t(\S.*)$", failed, re.M), [os.path.join(folder, "Gearbox.asm")])
        shown = tables(result.stdout)
        self.assertEqual(len(shown["lock"]), 27)
        self.assertNotIn("Gearbox", shown["lock"])
        self.assertEqual({row["locked"] for row in shown["lock"].values()}, {"yes"})
        self.assertEqual(shown["lock status"]["Gearbox"]["locked by"], "alice")
        self.assertEqual(shown["lock status"]["歯車"]["locked by"], "bob")
        self.assertEqual(len(shown["lock status"]), 28)

        # Alice's unlock releases her own lock only.
        result, _folder = self.run_as("alice", "--unlock-objects", "--lock-status")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        shown = tables(result.stdout)
        self.assertEqual([(name, row["locked"]) for name, row in shown["unlock"].items()], [("Gearbox", "no")])
        self.assertEqual({name: row["locked by"] for name, row in shown["lock status"].items()
                          if row["locked by"] != "bob"}, {"Gearbox": "-"})


if __name__ == "__main__":
    test_qorvi_host.PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()

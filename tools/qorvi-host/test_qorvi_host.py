"""The demo host names what keeps it from running, and logs in, shows the global settings, runs
queries, checks the sample gearbox out, makes the round trip (check-in from the manifest, checkout,
comparison) and works on the checked-out files (update checks, attribute synchronisation, details)
against the reference service: run as
`test_qorvi_host.py QORVI_HOST_PROGRAM`."""

import itertools
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

PROGRAM = None
SETTINGS = "[SERVER]\nclientname=127.0.0.1\n"
SERVICE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "okt-service", "okt_service.py")
SAMPLE = os.path.join(os.path.dirname(SERVICE), "sample")


def write(path, text):
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(text)


def run_host(install, profile, arguments, stdin="", **variables):
    environment = dict(os.environ, QX_DRAVIK_INSTALL_DIR=install, USERPROFILE=profile, **variables)
    return subprocess.run([PROGRAM] + list(arguments), env=environment, capture_output=True, text=True,
                          input=stdin, timeout=60)


def settings_fields(output):
    """The settings summary as {label: [items]}; wrapped lines continue the field above them.
    The label of an indented field is "parent/label"."""
    fields, label, parent = {}, None, None
    summary = output.split("global settings:\n", 1)[1].split("server component versions:", 1)[0]
    for line in summary.splitlines():
        match = re.match(r"^( +)(\S[^:]*):\s+(.*)$", line)
        if not match:
            fields[label] += " " + line.strip()
            continue
        nested = len(match.group(1)) > 2
        parent = parent if nested else match.group(2)
        label = parent + "/" + match.group(2) if nested else match.group(2)
        fields[label] = match.group(3)
    return {name: text.split(", ") for name, text in fields.items()}


def table(output, title):
    """The rows of the table printed after the line starting with title, as tuples of cells."""
    lines = itertools.takewhile(lambda line: line.startswith("  "), output.split("\n" + title, 1)[1].splitlines()[2:])
    return [tuple(re.split(r"\s{2,}", line.strip())) for line in lines]


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


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
            write(os.path.join(folder, "settings.ini"), settings)
        return folder

    def test_each_mistake_is_named(self):
        with socket.socket() as suspended:  # listens, never accepts or answers: a stopped service
            suspended.bind(("127.0.0.1", 0))
            suspended.listen(1)
            write(os.path.join(self.profile, "okt.port"), "%d\n" % suspended.getsockname()[1])
            missing = os.path.join(self.folder, "missing")
            login = ("--timeout", "1", "--user", "u", "--password", "p")
            # (installation folder, arguments, exit status, what the message must name)
            cases = (
                ("", (), 1, "QX_DRAVIK_INSTALL_DIR"),
                (missing, (), 1, missing),
                ("/proc", (), 1, "/proc"),  # not even root can create a file there
                (self.install_folder(None), (), 1, "settings.ini"),
                (self.install_folder("[SERVER]\naddress=http://pdm\n[CLIENT]\nclientname=x\n"), (), 1, "clientname"),
                (self.install_folder(SETTINGS), ("--timeout", "0"), 1, "--timeout"),
                (self.install_folder(SETTINGS), ("--attr", "a=b"), 1, "--sync-to"),
                (self.install_folder(SETTINGS), ("--sync-to", "f.prt", "--attr", "a"), 1, "NAME=VALUE"),
                (self.install_folder(SETTINGS), ("--checkin", missing), 1, missing),
                (self.install_folder(SETTINGS), login[:2], 7, "1 s"),
                (self.install_folder(SETTINGS), login, 7, "1 s"),
            )
            for install, arguments, status, named in cases:
                with self.subTest(install=install, arguments=arguments):
                    result = run_host(install, self.profile, arguments)
                    self.assertEqual(result.returncode, status, result.stderr)
                    self.assertIn(named, result.stderr)


class ServiceCase(unittest.TestCase):
    """A reference service of its own for the tests of the class, started with SERVICE_OPTIONS."""

    SERVICE_OPTIONS = ()

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="qorvi-host-test-")
        cls.profile, cls.install = os.path.join(cls.folder, "profile"), os.path.join(cls.folder, "install")
        os.mkdir(cls.profile)
        os.mkdir(cls.install)
        write(os.path.join(cls.install, "settings.ini"), SETTINGS)
        cls.service = subprocess.Popen(
            [sys.executable, SERVICE, "--profile", cls.profile, "--log", os.path.join(cls.folder, "service.log"),
             "--vault", os.path.join(cls.folder, "vault")] + list(cls.SERVICE_OPTIONS),
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        line = cls.service.stdout.readline()
        if not line.startswith("okt-service listening on "):
            cls.tearDownClass()
            raise RuntimeError("the reference service did not start: " + line)

    @classmethod
    def tearDownClass(cls):
        cls.service.terminate()
        cls.service.wait(timeout=30)
        cls.service.stdout.close()
        shutil.rmtree(cls.folder, True)

    def run_host(self, *arguments, stdin="", **variables):
        return run_host(self.install, self.profile, arguments, stdin, **variables)


class ServiceTest(ServiceCase):
    """Against the reference service, which lets only alice log in, with her password."""

    SERVICE_OPTIONS = ("--user", "alice:s3 cret", "--seed-sample")

    def test_login_with_password(self):
        cases = (  # (arguments, standard input, exit status); the plain login carries no password
            (("--user", "alice", "--password", "s3 cret"), "", 0),
            (("--user", "alice"), "s3 cret\n", 0),  # piped, no prompt
            (("--user", "alice", "--password", "secret"), "", 3),
            (("--user", "alice"), "", 1),
            (("--password", "s3 cret"), "", 1),
            ((), "", 3),
        )
        for arguments, stdin, status in cases:
            with self.subTest(arguments=arguments, stdin=stdin):
                result = self.run_host(*arguments, stdin=stdin)
                self.assertEqual(result.returncode, status, result.stdout + result.stderr)
                self.assertNotIn("s3 cret", result.stdout + result.stderr)

    def test_password_prompt_does_not_echo(self):
        controller, terminal = os.openpty()
        with subprocess.Popen([PROGRAM, "--user", "alice"], stdin=terminal, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, env=dict(os.environ, QX_DRAVIK_INSTALL_DIR=self.install,
                                                               USERPROFILE=self.profile)) as host:
            os.close(terminal)
            prompt = b""
            while b"Password for alice: " not in prompt:
                chunk = os.read(host.stderr.fileno(), 100)
                self.assertTrue(chunk, prompt)
                prompt += chunk
            os.write(controller, b"s3 cret\n")
            output, _ = host.communicate(timeout=60)
        self.assertEqual(host.returncode, 0, output)
        os.set_blocking(controller, False)
        try:
            self.assertNotIn(b"s3 cret", os.read(controller, 1000))
        except OSError:  # nothing echoed, or the terminal is closed
            pass
        os.close(controller)

    def test_settings_summary_and_queries(self):
        result = self.run_host("--user", "alice", "--password", "s3 cret", "--settings",
                               "--lql", "exec prog CorvaneHelpAbout.tcl;", "--lql", "list parts;")
        # The second query is not one the service knows: reported, and the host still logs out.
        self.assertEqual(result.returncode, 8, result.stdout + result.stderr)
        fields = settings_fields(result.stdout)
        expected = {  # user exits recognised whatever their case, unknown events left out
            "user exits": ["CheckinStart", "CheckinPartPre", "CheckinPartPost", "CheckoutPartPost",
                           "LockPartPost", "UpdateAttributesInCADPre"],
            "part": ["CAD Part", "Versioned CAD Part"],  # the later second mapping of "part" not taken
            "part/CAD Part policies": ["Design Policy", "Versioned Design Policy"],
            "drawing/attributes from server": ["DrawingRevision", "SheetSize", "Owner", "LifecycleState"],
        }
        self.assertEqual({label: fields.get(label) for label in expected}, expected)
        self.assertIn("rapid file access", fields["switched on"])
        self.assertIn("0|Framework|QTL2012x-2.4|", result.stdout)

    def test_checkout_prints_the_tree(self):
        folder = os.path.join(self.folder, "checkout")
        arguments = ("--user", "alice", "--password", "s3 cret", "--checkout", "Gearbox", "--into", folder,
                     "--lock")
        # The sample's drawing has two formats, which a site allows with DV5_001=1.
        refused = self.run_host(*arguments)
        self.assertEqual(refused.returncode, 9, refused.stdout + refused.stderr)
        self.assertIn("Gearbox-Drawing", refused.stderr)
        result = self.run_host(*arguments, DV5_001="1")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        tree = result.stdout.split("checkout:", 1)[1].split("checked out:", 1)[0].splitlines()[2:]
        rows = [((len(line) - len(line.lstrip()) - 2) // 2,) + tuple(re.split(r"\s{2,}", line.strip()))
                for line in tree]
        self.assertEqual(len(rows), 37, result.stdout)  # each use of a design in the sample
        for row in ((0, "Gearbox", "assembly", "1", "locked", "Gearbox.asm"),
                    (2, "Hex-Bolt-M6 x8", "part", "1", "-", "Hex-Bolt-M6.prt"),
                    (3, "Oil-Channel", "embeddedComponent", "1", "-", "Oil-Channel.prt"),
                    (1, "Gearbox-Drawing", "drawing", "1", "-", "Gearbox-Drawing.drw, Gearbox-Drawing.dxf")):
            self.assertIn(row, rows)
        self.assertEqual(len(os.listdir(folder)), 29)


class RoundTripTest(ServiceCase):
    """The sample checked in from its manifest into an empty vault, checked out and compared."""

    def round_trip(self, manifest, name):
        folder = os.path.join(self.folder, name)
        return folder, self.run_host("--checkin", manifest, "--checkout", "Gearbox", "--into", folder, DV5_001="1")

    def test_sample_round_trip_as_new_designs_then_as_new_versions(self):
        manifest = os.path.join(SAMPLE, "manifest.xml")
        for name, version, status in (("first", "1", "new"), ("second", "2", "checkedin")):
            folder, result = self.round_trip(manifest, name)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            stored = re.findall(r"^  (.+?)\s{2,}(CAD \w+)\s+(\d+)\s+(\w+)$", result.stdout, re.M)
            self.assertEqual(len(stored), 28, result.stdout)
            self.assertIn(("歯車", "CAD Part", version, status), stored)
            self.assertIn("round trip:", result.stdout)
            for file in ("O'Brien bracket.prt", "Zahnrad-ü.prt", "歯車.prt", "Gearbox-Drawing.dxf"):
                with open(os.path.join(folder, file), "rb") as out, open(os.path.join(SAMPLE, "files", file), "rb") as sent:
                    self.assertEqual(out.read(), sent.read(), file)

    def test_failed_checkin_is_reported_and_nothing_checked_out(self):
        sample = os.path.join(self.folder, "sample")
        shutil.copytree(SAMPLE, sample)
        os.remove(os.path.join(sample, "files", "Zahnrad-ü.prt"))
        folder, result = self.round_trip(os.path.join(sample, "manifest.xml"), "failed")
        self.assertEqual(result.returncode, 10, result.stdout + result.stderr)
        self.assertIn("Zahnrad-ü.prt", result.stderr)
        self.assertFalse(os.listdir(folder))


class LocalFilesTest(ServiceCase):
    """alice checks the sample in (from a copy) and out with a lock; bob, on the same vault, checks a
    newer version of one part in; then the update checks, attribute sync and details as each sees them."""

    def as_user(self, user, *arguments):
        return self.run_host("--user", user, "--password", "pw", *arguments, DV5_001="1")

    def test_updates_attributes_and_details_after_another_user_checked_in(self):
        sample, checkout = os.path.join(self.folder, "sample"), os.path.join(self.folder, "checkout")
        shutil.copytree(SAMPLE, sample)
        result = self.as_user("alice", "--checkin", os.path.join(sample, "manifest.xml"), "--checkout", "Gearbox",
                              "--into", checkout, "--lock")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        newer = os.path.join(self.folder, "bob")
        os.makedirs(os.path.join(newer, "files"))
        write(os.path.join(newer, "files", "Housing-Shell.prt"), "Housing shell, ribs added\n")
        write(os.path.join(newer, "manifest.xml"), '<manifest><design name="Housing-Shell" type="part" '
              'servertype="CAD Part"><file name="Housing-Shell.prt"/></design></manifest>')
        result = self.as_user("bob", "--checkin", os.path.join(newer, "manifest.xml"))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        shell, gearbox = (os.path.join(checkout, name) for name in ("Housing-Shell.prt", "Gearbox.asm"))
        cover = os.path.join(checkout, "Cover.prt")
        with open(cover, "a", encoding="utf-8") as stream:
            stream.write("changed here\n")
        changed = read(cover)

        # bob: alice's lock refuses his attributes for the gearbox, not for the housing.
        result = self.as_user("bob", "--sync-to", gearbox, "--attr", "description=bob's",
                              "--sync-to", os.path.join(checkout, "Housing.asm"), "--attr", "project=Retrofit",
                              "--details", gearbox, "--details", shell)
        self.assertEqual(result.returncode, 12, result.stdout + result.stderr)
        synced = {row[0]: row for row in table(result.stdout, "attribute sync:")}
        self.assertEqual(synced["Gearbox.asm"][2], "false")
        self.assertIn("alice", synced["Gearbox.asm"][4])  # the holder named
        self.assertEqual(synced["Housing.asm"][2:5], ("true", "false", "-"))
        self.assertIn("project=Retrofit", synced["Housing.asm"][5])
        self.assertNotIn("bob's", synced["Housing.asm"][5])  # each file takes the --attr values after it
        # (name, status, locked, holder, check-in access, server type, revision, version)
        details = [row[:1] + row[2:] for row in table(result.stdout, "details:")]
        self.assertEqual(details, [("Gearbox", "checkedin", "true", "alice", "false", "CAD Assembly", "A", "1"),
                                   ("Housing-Shell", "outofdate", "false", "-", "true", "CAD Part", "A", "2")])

        # alice: every file of hers brought up to date, the one changed here kept and reported.
        result = self.as_user("alice", "--update-all", "--update", cover,
                              "--sync-from", os.path.join(checkout, "Housing.asm"),
                              "--sync-to", gearbox, "--attr", "description=Gearbox, revised",
                              "--details", shell, "--details", gearbox)
        self.assertEqual(result.returncode, 12, result.stdout + result.stderr)
        updated = table(result.stdout, "update check: every file")
        self.assertEqual(sorted((row[0], row[3], row[4]) for row in updated if row[0] == "updated"),
                         [("updated", os.path.join(checkout, "Housing-Shell.prt"), "2"),
                          ("updated", os.path.join(sample, "files", "Housing-Shell.prt"), "2")])
        for path in (shell, os.path.join(sample, "files", "Housing-Shell.prt")):
            self.assertEqual(read(path), b"Housing shell, ribs added\n", path)
        (failed,) = table(result.stdout, "update check: 1 files")
        self.assertEqual(failed[:2], ("failed", "Cover.prt"))
        self.assertIn(cover, failed[5])  # the reason names the file
        self.assertEqual(read(cover), changed)
        synced = table(result.stdout, "attribute sync: 1 files from")
        self.assertEqual(synced[0][2:4], ("true", "true"))  # the CAD file takes the server's values
        self.assertIn("project=Retrofit", synced[0][5])
        details = [row[:1] + row[2:] for row in table(result.stdout, "details:")]
        self.assertEqual(details, [("Housing-Shell", "checkedin", "false", "-", "true", "CAD Part", "A", "2"),
                                   ("Gearbox", "checkedin", "true", "alice", "true", "CAD Assembly", "A", "1")])
        # The value alice wrote is in the vault: bob reads it back.
        result = self.as_user("bob", "--sync-from", gearbox)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("description=Gearbox, revised", table(result.stdout, "attribute sync:")[0][5])


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()

"""Tests of the reference OKT service: framing and data files in process, the rest against a running
service."""

import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import okt_settings  # noqa: E402
import okt_xml  # noqa: E402
from okt_framing import PointerFramer  # noqa: E402

SCRIPT = os.path.join(HERE, "okt_service.py")
COMPONENT_QUERY = "<lql>exec prog CorvaneHelpAbout.tcl;</lql>"
THIN_RESPONSE = re.compile(
    r"^<\?xml version='1\.0'\?><response dirname='([^']*)' filename='([^']*)'></response>$")


def pointer_text(dirname, filename="QxRequest.xml"):
    """The pointer as the client library writes it, as bytes."""
    return ("<?xml version='1.0'?><request dirname='%s' filename='%s' ver='10.7.SP1' csever='3.1'/>"
            % (dirname, filename)).encode("utf-8")


def envelope(cname, body="", **extra):
    """A request document with the envelope the client library writes (None drops an attribute)."""
    attributes = {"cname": cname, "iid": "4711", "cse": "DravikCSE", "addn": "abc",
                  "ver": "10.7.SP1", "csever": "3.1"}
    if cname in ("login", "loginEx"):
        attributes["username"] = "alice"
    attributes.update({"focusbrowser": "false", "loglevel": "4"}, **extra)
    text = " ".join("%s='%s'" % item for item in attributes.items() if item[1] is not None)
    return "<?xml version='1.0'?><command %s>%s</command>" % (text, body)


def write(path, text):
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(text)
    return path


def temporary_folder(test):
    folder = tempfile.mkdtemp(prefix="okt-test-")
    test.addCleanup(shutil.rmtree, folder, True)
    return folder


class Service:
    """A service process in its own profile folder."""

    def __init__(self, *options, env=None):
        self.folder = tempfile.mkdtemp(prefix="okt-test-")
        self.profile = os.path.join(self.folder, "profile")
        os.makedirs(self.profile)
        log = os.path.join(self.folder, "exchange.log")
        self.process = subprocess.Popen(
            [sys.executable, SCRIPT, "--profile", self.profile, "--log", log] + list(options),
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=env)
        match = re.fullmatch(r"okt-service listening on 127\.0\.0\.1:(\d+)\n",
                             self.process.stdout.readline())
        if not match:
            self.process.kill()
            error = self.process.stderr.read()
            self.close()
            raise AssertionError("service did not start: %s" % error)
        self.port = int(match.group(1))

    def connect(self):
        return socket.create_connection(("127.0.0.1", self.port), timeout=5)

    def stop(self, signal_number=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(signal_number)
        try:
            return self.process.wait(timeout=5)
        finally:
            self.process.stdout.close()
            self.process.stderr.close()

    def close(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


def receive(connection, count=1):
    """Reads `count` thin responses; returns for each the response file it names, its folder and name."""
    data = b""
    while data.count(b"</response>") < count:
        chunk = connection.recv(1000)
        if not chunk:
            raise AssertionError("connection closed after %r" % data)
        data += chunk
    answers = []
    for thin in data.decode("utf-8").split("</response>")[:-1]:
        if THIN_RESPONSE.match(thin + "</response>") is None:
            raise AssertionError("thin response of another layout: %r" % thin)
        root = ET.fromstring(thin + "</response>")
        path = os.path.join(root.get("dirname"), root.get("filename"))
        answers.append((okt_xml.parse_file(path), root.get("dirname"), root.get("filename")))
    return answers


def verdict(response):
    """The verdict on a response: "success", or the result and the reason of a refusal."""
    result = response.get("result")
    return result if result == "success" else "%s: %s" % (result, response.findtext("info/reason"))


class DataInProcessTest(unittest.TestCase):
    POINTER = pointer_text("/opt/dravik/inst")

    def test_framer_cuts_whole_pointers_however_the_bytes_come(self):
        framer = PointerFramer()
        self.assertEqual(sum((framer.feed(bytes([byte])) for byte in self.POINTER), []), [self.POINTER])
        tricky = (b"<request dirname='/a/>b' filename=\"x>y\"/>",
                  b"<r><a>t</a><!-- > </r> --><![CDATA[</r>]]></r>")
        # Bytes between pointers stay with the pointer they surround, to be refused with it.
        self.assertEqual(framer.feed(b"\0 \r\n" + b"".join(tricky) + b"\n"),
                         [b"\0 \r\n" + tricky[0], tricky[1] + b"\n"])
        self.assertEqual((framer.feed(b"\n"), framer.pending, framer.stray_count), ([], 0, 1))
        self.assertEqual(framer.feed(self.POINTER), [b"\n" + self.POINTER])
        for piece in (b"<", b"?xml version='1.0'?", b"><!", b"-", b"- c --><requ", b"est/", b">"):
            result = framer.feed(piece)
        self.assertEqual((result, framer.pending), ([b"<?xml version='1.0'?><!-- c --><request/>"], 0))

    def test_framer_holds_an_unfinished_pointer_until_taken_and_flags_an_overlong_one(self):
        framer = PointerFramer(limit=100)
        self.assertEqual(framer.feed(b"  <request dirname='x"), [])
        self.assertEqual(framer.pending, len(b"<request dirname='x"))
        self.assertEqual(framer.take_pending(), b"<request dirname='x")
        self.assertEqual(framer.feed(self.POINTER), [self.POINTER])
        framer.feed(b"<request dirname='" + b"a" * 200)
        self.assertTrue(framer.overflowed)

    def test_data_files_must_have_their_layout(self):
        path = os.path.join(temporary_folder(self), "data.xml")
        for load, text, message in (
                (okt_settings.load_global_settings, "<info/>", "root element 'info'"),
                (okt_settings.load_global_settings, "<response><info><gsettings><attribute><value>1"
                 "</value></attribute></gsettings></info></response>", "has no name"),
                (okt_settings.load_global_settings, "<response><info><lsettings><attribute><name>A</name>"
                 "<value><b/>x</value></attribute></lsettings></info></response>", "plain value must be text"),
                (okt_settings.load_components, "<components><component name='A|B' version='1'/></components>",
                 "without '\\|'")):
            with self.subTest(text=text), self.assertRaisesRegex(okt_settings.SettingsError, message):
                load(write(path, text))


class ServedExchangeTest(unittest.TestCase):
    """Exchanges with one shared service; every test uses its own connection."""

    @classmethod
    def setUpClass(cls):
        cls.service = Service("--pointer-timeout", "0.4")

    @classmethod
    def tearDownClass(cls):
        cls.service.close()

    def setUp(self):
        self.install = temporary_folder(self)
        self.connection = self.service.connect()
        self.addCleanup(self.connection.close)

    def send(self, pointer, request_text=None):
        """Writes the request file unless None ("": removes it), sends the pointer; the first answer."""
        request = os.path.join(self.install, "QxRequest.xml")
        if request_text:
            write(request, request_text)
        elif request_text == "" and os.path.exists(request):
            os.remove(request)
        self.connection.sendall(pointer)
        return receive(self.connection)[0]

    def assertRefused(self, response, message):
        self.assertRegex(verdict(response), "^failure: .*" + re.escape(message))

    def exchange(self, cname, body="", **extra):
        return self.send(pointer_text(self.install), envelope(cname, body, **extra))[0]

    def test_each_command_gets_its_answer(self):
        not_logged_in = "failure: lql refused: no user is logged in on this connection"
        for cname, body, extra, expected in (
                ("login", "", {"username": None},
                 "failure: login request lacks the user name (attribute 'username')"),
                ("loginEx", "", {}, "failure: loginEx request lacks the password (attribute 'password')"),
                ("lql", COMPONENT_QUERY, {}, not_logged_in),
                ("loginEx", "", {"password": ""}, "success"),
                ("lql", "<lql>temp query bus *;</lql>", {},
                 "failure: lql query not supported by this service: 'temp query bus *;'"),
                ("lql", "", {}, "failure: lql request has no query (element 'lql')"),
                ("ping", "", {}, "success"),
                ("lql", COMPONENT_QUERY, {}, "success"),
                ("logout", "", {}, "success"),
                ("lql", COMPONENT_QUERY, {}, not_logged_in),
                ("frobnicate", "", {}, "failure: unknown command 'frobnicate'")):
            with self.subTest(cname=cname, body=body, extra=extra):
                self.assertEqual(verdict(self.exchange(cname, body, **extra)), expected)

    def test_service_commands_answer_and_refuse_what_the_client_never_sends(self):
        def cadobject(cadid, drop=None, body="", **values):
            attributes = {"name": "Bolt", "dirname": "/work/parts", "cadid": cadid, "modified": "false",
                          "type": "part", "filename": cadid + ".prt", "selectable": "true"}
            attributes.update(values)
            attributes.pop(drop, None)
            return "<cadobject %s>%s</cadobject>" % (" ".join("%s='%s'" % a for a in attributes.items()), body)

        def listed(*items, tag="cadobjectlist"):
            return "<%s>%s</%s>" % (tag, "".join(items), tag)

        def aliases(*pairs):
            return listed(*("<userdiralias><name><![CDATA[%s]]></name><value><![CDATA[%s]]></value>"
                            "</userdiralias>" % pair for pair in pairs), tag="userdiraliaslist")

        page = {"url": "custom/report.jsp", "hangbrowser": "false"}
        command_text = "<userdefinedcommand>report</userdefinedcommand>"
        self.assertRefused(self.exchange("preferences"), "no user is logged in")
        self.assertEqual(verdict(self.exchange("login")), "success")
        for cname, body, extra, message in (
                ("preferences", "<x/>", {}, "carries the element(s) 'x'; it has no body"),
                ("encryptionkey", "<b/><a/>", {}, "carries the element(s) 'a', 'b'; it has no body"),
                ("versions", "", {}, "versions request has no object (element 'cadobjectlist')"),
                ("versions", listed(), {}, "0 'cadobject' element(s) under 'cadobjectlist 1'"),
                ("versions", listed(cadobject("c1")) + listed(cadobject("c2"), cadobject("c3")), {},
                 "2 'cadobject' element(s) under 'cadobjectlist 2'"),
                ("versions", listed(cadobject("c1", drop="selectable")), {},
                 "lacks the attribute(s) 'selectable'"),
                ("versions", listed(cadobject("c1", modified="maybe")), {}, "modified='maybe'"),
                ("versions", listed(cadobject("c1", selectable="false")), {}, "selectable='false'"),
                ("versions", listed(cadobject("c1", dirname="parts")), {}, "relative folder dirname='parts'"),
                ("versions", listed(cadobject("", filename="")), {}, "neither a cadid nor a filename"),
                ("versions", listed(cadobject("c1", body="<attribute><name>a</name></attribute>")), {},
                 "attribute 1 needs a name and a value element"),
                ("initiatewsm", "", {}, "0 'cadobjectlist' element(s) under 'command'"),
                ("initiatewsm", listed(cadobject("c1", drop="cadid")), {}, "lacks the attribute(s) 'cadid'"),
                ("userdefined", command_text, {"hangbrowser": "false"}, "no page (attribute 'url')"),
                ("userdefined", command_text, dict(page, hangbrowser="yes"), "hangbrowser='yes'"),
                ("userdefined", "", page, "0 'userdefinedcommand' element(s)"),
                ("userdefined", "<userdefinedcommand> </userdefinedcommand>", page, "an empty command"),
                ("setuserdiralias", "", {}, "no list (element 'userdiraliaslist')"),
                ("setuserdiralias", "<userdiraliaslist><userdiralias><value>/a</value></userdiralias>"
                 "</userdiraliaslist>", {}, "entry 1 must be a 'userdiralias' with a name and a value element"),
                ("setuserdiralias", aliases(("w", "/w"), (" ", "/x")), {}, "userdiralias 2 has an empty name")):
            with self.subTest(cname=cname, body=body):
                self.assertRefused(self.exchange(cname, body, **extra), message)

        # What the client gets back; the library's integration tests read the other answers.
        self.assertEqual(self.exchange("preferences").findtext("info/preferences/attribute/value"), "alice")
        keys = [self.exchange("encryptionkey").findtext("info/encryptionkey") for _ in range(2)]
        self.assertRegex(keys[0], "^[0-9a-f]{32}$")
        self.assertEqual(keys[0], keys[1])
        answer = self.exchange("versions", listed(cadobject("c1")) + listed(cadobject(
            "c2", body="<attribute><name>a</name><value>1</value></attribute>", busrevision="B")))
        self.assertEqual([(found.get("cadid"), found.get("busrevision"), [v.get("qxversion") for v in found])
                          for found in answer.findall("info/cadobjectlist/cadobject")],
                         [("c1", "A", ["1", "2"]), ("c2", "B", ["1", "2"])])
        self.assertEqual(len(self.exchange("setuserdiralias", aliases()).find("info/userdiraliaslist")), 0)

    def test_pointers_in_pieces_together_and_with_escaped_folders(self):
        folder = os.path.join(self.install, "Prüfstand R&D <'x'>")
        os.mkdir(folder)
        write(os.path.join(folder, "QxRequest.xml"), envelope("ping"))
        data = pointer_text(folder.replace("&", "&amp;").replace("<", "&lt;").replace("'", "&apos;"))
        cut = data.index("ü".encode("utf-8")) + 1
        for piece in (data[:10], data[10:cut], data[cut:]):
            self.connection.sendall(piece)
            time.sleep(0.05)
        response, dirname, _ = receive(self.connection)[0]
        self.assertEqual((dirname, verdict(response)), (folder, "success"))

        write(os.path.join(self.install, "QxRequest.xml"), envelope("nosuch"))
        self.connection.sendall(data + pointer_text(self.install))
        self.assertEqual([verdict(answer[0]) for answer in receive(self.connection, 2)],
                         ["success", "failure: unknown command 'nosuch'"])

    def test_what_the_client_never_sends_is_refused_with_the_reason(self):
        """An unusable pointer is answered in the profile folder, an unusable request beside it; the
        connection stays usable."""
        pointer = pointer_text(self.install)
        bad_pointers = (
            (pointer_text("/tmp/a&b"), "not well-formed XML"),
            (b"<hello dirname='/tmp'/>", "has the element 'hello' instead of 'request'"),
            (b"<request dirname='/tmp' ver='1' csever='2'/>", "lacks the attribute(s) 'filename'"),
            (pointer_text(self.install, "../QxRequest.xml"), "not a plain file name"),
            (pointer_text("relative/inst"), "is not an absolute path"),
            (b"<request dirname='/tmp/\xff\xfe' filename='a' ver='' csever=''/>", "not well-formed"),
            (b"\0\r" + pointer + b"\n", "has NUL, CR before it and LF after it;"))
        bad_requests = (
            ("<command cname='ping'", "is not well-formed XML"),
            ("<response cname='ping'/>", "has the root element 'response' instead of 'command'"),
            ("<command cname='ping'/>", "lacks the attribute(s) 'iid', 'cse', 'addn', 'ver'"),
            (envelope(""), "empty command name"),
            (envelope("ping", "<x iGSSLID='3'/>"), "internal node identifiers"),
            ("<!DOCTYPE command [<!ENTITY a 'aaaa'>]>" + envelope("ping")[21:],
             "document type declarations are not accepted"),
            ("", "request file '%s' does not exist" % os.path.join(self.install, "QxRequest.xml")),
            (envelope("ping", addn="xyz"), "addn='xyz'; the client always writes 'abc'"),
            (envelope("ping", loglevel="6"), "loglevel='6'; the client always writes '4'"),
            (envelope("ping", focusbrowser="yes"), "focusbrowser='yes'; it must be"),
            (envelope("ping", iid="4711a"), "iid='4711a'; it must be the client's process"),
            (envelope("ping", iid=""), "iid=''; it must be"),
            (envelope("ping", ver="10.8"), "pointer has ver='10.7.SP1' but its request envelope ver='10.8'"),
            (envelope("loginEx", password="", csever="3.2"),
             "pointer has csever='3.1' but its request envelope csever='3.2'"),
            (envelope("ping", username="alice"),
             "envelope of 'ping' carries 'username'; only login and loginEx carry it"))
        profile, beside = (self.service.profile, "okt.response.xml"), (self.install, "Response.xml")
        for sent, request_text, message, answered_in in ([(p, None, m, profile) for p, m in bad_pointers] +
                                                         [(pointer, r, m, beside) for r, m in bad_requests]):
            with self.subTest(pointer=sent, request=request_text):
                response, dirname, filename = self.send(sent, request_text)
                self.assertRefused(response, message)
                self.assertEqual((dirname, filename), answered_in)
        self.assertEqual(verdict(self.exchange("ping")), "success")
        # The bulk loader's loginEx announces a version of its own.
        self.assertEqual(verdict(self.exchange("loginEx", password="", ver="2.0")), "success")

    def test_response_file_follows_no_planted_link(self):
        victim = write(os.path.join(self.install, "victim.txt"), "keep")
        planted = [os.path.join(self.install, name)
                   for name in (".Response.xml.%d.tmp" % self.service.process.pid, "Response.xml")]
        for link in planted:
            os.symlink(victim, link)
        self.assertEqual(verdict(self.exchange("ping")), "success")
        with open(victim, encoding="utf-8") as stream:
            self.assertEqual(stream.read(), "keep")
        self.assertFalse(os.path.islink(planted[1]))

    def test_unfinished_pointer_is_answered_after_silence(self):
        self.assertRefused(self.send(pointer_text(self.install)[:30])[0], "incomplete request pointer")
        self.assertEqual(verdict(self.exchange("ping")), "success")

    def test_clients_are_served_one_after_the_other(self):
        write(os.path.join(self.install, "QxRequest.xml"), envelope("ping"))
        with self.service.connect() as waiting:
            waiting.sendall(pointer_text(self.install))
            waiting.settimeout(0.3)
            with self.assertRaises(socket.timeout):
                waiting.recv(1000)
            self.connection.sendall(b"<request dirname='/tm")  # dropped when the client leaves
            self.connection.close()
            waiting.settimeout(5)
            self.assertEqual(verdict(receive(waiting)[0][0]), "success")


class LifecycleTest(unittest.TestCase):
    def test_signals_end_the_service_and_remove_only_its_own_port_file(self):
        for signal_number, port_file_text in ((signal.SIGTERM, None), (signal.SIGINT, "1\n")):
            with self.subTest(signal=signal_number):
                service = Service()
                self.addCleanup(service.close)
                port_file = os.path.join(service.profile, "okt.port")
                if port_file_text:
                    write(port_file, port_file_text)  # another service published its port since
                idle = service.connect()  # a connected client must not delay the stop
                time.sleep(0.1)
                self.assertEqual(service.stop(signal_number), 0)
                idle.close()
                self.assertEqual(os.path.exists(port_file), port_file_text is not None)

    def test_start_up_problems_end_with_a_message(self):
        folder = temporary_folder(self)
        bad_settings = write(os.path.join(folder, "bad.xml"), "<response><info>")
        bad_users = write(os.path.join(folder, "users"), "alice\n:secretpw\n")
        with socket.socket() as busy:
            busy.bind(("127.0.0.1", 0))
            busy.listen(1)
            for arguments, message in (
                    (["--profile", os.path.join(folder, "missing")], "does not exist"),
                    (["--profile", folder, "--settings", bad_settings], "not well-formed"),
                    (["--profile", folder, "--users", bad_users], "line 2 needs a user name"),
                    (["--profile", folder, "--users", folder + "/none"], "cannot read the users file"),
                    (["--profile", folder, "--port", str(busy.getsockname()[1])], "cannot listen")):
                with self.subTest(arguments=arguments):
                    result = subprocess.run([sys.executable, SCRIPT] + arguments,
                                            capture_output=True, text=True, timeout=10)
                    self.assertEqual((result.returncode, result.stdout), (2, ""))
                    self.assertIn(message, result.stderr)
                    self.assertNotIn("secretpw", result.stderr)

    def test_given_port_and_user_list(self):
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        install = temporary_folder(self)
        users = write(os.path.join(install, "users"), "# name:password\n\ndave:pa:ss word\nalice:old\n")
        service = Service("--port", str(port), "--user", "alice:secret", "--user", "bob", "--users", users)
        self.addCleanup(service.close)
        self.assertEqual(service.port, port)
        with service.connect() as connection:
            for request_text, expected in (
                    (envelope("login", username="carol"), "failure: user 'carol' is not allowed to log in"),
                    (envelope("loginEx", password="old"), "failure: wrong password for user 'alice'"),
                    (envelope("login"), "failure: user 'alice' has a password and must log in with loginEx"),
                    (envelope("loginEx", password="secret"), "success"),
                    (envelope("login", username="bob"), "success"),
                    (envelope("loginEx", username="dave", password="pa:ss word"), "success")):
                with self.subTest(request=request_text):
                    write(os.path.join(install, "QxRequest.xml"), request_text)
                    connection.sendall(pointer_text(install))
                    self.assertEqual(verdict(receive(connection)[0][0]), expected)


if __name__ == "__main__":
    unittest.main()

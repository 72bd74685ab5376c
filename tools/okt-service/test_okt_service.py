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
    """The pointer as the client library writes it."""
    return ("<?xml version='1.0'?><request dirname='%s' filename='%s' ver='10.7.SP1' csever='3.1'/>"
            % (dirname, filename))


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


class Service:
    """A service process in its own profile folder."""

    def __init__(self, *options):
        self.folder = tempfile.mkdtemp(prefix="okt-test-")
        self.profile = os.path.join(self.folder, "profile")
        os.makedirs(self.profile)
        self.log = os.path.join(self.folder, "exchange.log")
        self.process = subprocess.Popen(
            [sys.executable, SCRIPT, "--profile", self.profile, "--log", self.log] + list(options),
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
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


def receive_thin(connection, count=1):
    """Reads until `count` thin responses have arrived; returns them as texts."""
    data = b""
    while data.count(b"</response>") < count:
        chunk = connection.recv(1000)
        if not chunk:
            raise AssertionError("connection closed after %r" % data)
        data += chunk
    return [text + "</response>" for text in data.decode("utf-8").split("</response>")[:-1]]


def load_thin(thin):
    """Checks the thin response's layout; returns the response file it names and its folder."""
    match = THIN_RESPONSE.match(thin)
    if match is None:
        raise AssertionError("thin response of another layout: %r" % thin)
    root = ET.fromstring(thin)
    path = os.path.join(root.get("dirname"), root.get("filename"))
    return okt_xml.parse_file(path), root.get("dirname"), root.get("filename")


class DataInProcessTest(unittest.TestCase):
    POINTER = pointer_text("/opt/dravik/inst").encode("utf-8")

    def test_framer_cuts_whole_pointers_however_the_bytes_come(self):
        framer = PointerFramer()
        pointers = []
        for byte in self.POINTER:
            pointers += framer.feed(bytes([byte]))
        self.assertEqual(pointers, [self.POINTER])
        tricky = (b"<request dirname='/a/>b' filename=\"x>y\"/>",
                  b"<r><a>t</a><!-- > </r> --><![CDATA[</r>]]></r>")
        # Bytes between pointers stay with the pointer they surround, to be refused with it.
        self.assertEqual(framer.feed(b"\0 \r\n" + b"".join(tricky) + b"\n"),
                         [b"\0 \r\n" + tricky[0], tricky[1] + b"\n"])
        self.assertEqual(framer.feed(b"\n"), [])
        self.assertEqual((framer.pending, framer.stray_count), (0, 1))
        self.assertEqual(framer.feed(self.POINTER), [b"\n" + self.POINTER])
        for piece in (b"<", b"?xml version='1.0'?", b"><!", b"-", b"- c --><requ", b"est/", b">"):
            result = framer.feed(piece)
        self.assertEqual(result, [b"<?xml version='1.0'?><!-- c --><request/>"])
        self.assertEqual(framer.pending, 0)

    def test_framer_holds_an_unfinished_pointer_until_taken_and_flags_an_overlong_one(self):
        framer = PointerFramer(limit=100)
        self.assertEqual(framer.feed(b"  <request dirname='x"), [])
        self.assertEqual(framer.pending, len(b"<request dirname='x"))
        self.assertEqual(framer.take_pending(), b"<request dirname='x")
        self.assertEqual(framer.feed(self.POINTER), [self.POINTER])
        framer.feed(b"<request dirname='" + b"a" * 200)
        self.assertTrue(framer.overflowed)

    def test_data_files_must_have_their_layout(self):
        folder = tempfile.mkdtemp(prefix="okt-test-")
        self.addCleanup(shutil.rmtree, folder, True)
        path = os.path.join(folder, "data.xml")
        for text, message in (("<info/>", "root element 'info'"),
                              ("<response><info><gsettings><attribute><value>1</value>"
                               "</attribute></gsettings></info></response>", "has no name"),
                              ("<response><info><lsettings><attribute><name>A</name><value><b/>x"
                               "</value></attribute></lsettings></info></response>",
                               "plain value must be text")):
            with self.subTest(text=text):
                with self.assertRaisesRegex(okt_settings.SettingsError, message):
                    okt_settings.load_global_settings(write(path, text))
        write(path, "<components><component name='A|B' version='1'/></components>")
        with self.assertRaisesRegex(okt_settings.SettingsError, "without '\\|'"):
            okt_settings.load_components(path)


class ServedExchangeTest(unittest.TestCase):
    """Exchanges with one shared service; every test uses its own connection."""

    @classmethod
    def setUpClass(cls):
        cls.service = Service("--pointer-timeout", "0.4")

    @classmethod
    def tearDownClass(cls):
        cls.service.close()

    def setUp(self):
        self.install = tempfile.mkdtemp(prefix="okt-inst-")
        self.connection = self.service.connect()

    def tearDown(self):
        self.connection.close()
        shutil.rmtree(self.install, ignore_errors=True)

    def send_request(self, request_text, folder=None):
        folder = folder or self.install
        write(os.path.join(folder, "QxRequest.xml"), request_text)
        self.connection.sendall(pointer_text(folder).encode("utf-8"))
        return receive_thin(self.connection)[0]

    def exchange(self, cname, body="", **extra):
        return load_thin(self.send_request(envelope(cname, body, **extra)))[0]

    def reason(self, response):
        self.assertEqual(response.get("result"), "failure")
        return response.findtext("info/reason")

    def test_login_answers_with_the_global_settings_beside_the_request(self):
        with open(os.path.join(self.service.profile, "okt.port"), encoding="ascii") as stream:
            self.assertEqual(stream.read(), "%d\n" % self.service.port)
        thin = self.send_request(envelope("login"))
        self.assertEqual(thin, "<?xml version='1.0'?><response dirname='%s' "
                               "filename='Response.xml'></response>" % self.install)
        response = load_thin(thin)[0]
        self.assertEqual(dict(response.attrib), {
            "cname": "login", "iid": "4711", "ver": "10.7.SP1", "csever": "3.1", "MCAD": "abc",
            "result": "success", "deletefiles": "false", "copyattribute": "false",
            "loadfiles": "false", "createpreview": "false", "backgroundcheckin": "false",
            "maintainlock": "false"})
        self.assertEqual(ET.tostring(response.find("info")),
                         ET.tostring(okt_settings.load_global_settings()))

    def test_each_command_gets_its_answer(self):
        self.assertEqual(self.reason(self.exchange("login", username=None)),
                         "login request lacks the user name (attribute 'username')")
        self.assertEqual(self.reason(self.exchange("loginEx")),
                         "loginEx request lacks the password (attribute 'password')")
        self.assertIn("no user is logged in", self.reason(self.exchange("lql", COMPONENT_QUERY)))
        self.assertEqual(self.exchange("loginEx", password="").get("result"), "success")
        info = self.exchange("lql", COMPONENT_QUERY).find("info")
        tokens = info.text.split("|")
        self.assertEqual(tokens[0], "0")
        self.assertEqual(list(zip(tokens[1::2], tokens[2::2])), okt_settings.load_components())
        self.assertEqual(self.reason(self.exchange("lql", "<lql>temp query bus *;</lql>")),
                         "lql query not supported by this service: 'temp query bus *;'")
        self.assertEqual(self.reason(self.exchange("lql")), "lql request has no query (element 'lql')")
        self.assertEqual(self.exchange("ping").get("result"), "success")
        self.assertEqual(self.exchange("logout").get("result"), "success")
        self.assertIn("no user is logged in", self.reason(self.exchange("lql", COMPONENT_QUERY)))
        self.assertEqual(self.reason(self.exchange("frobnicate")), "unknown command 'frobnicate'")
        with open(self.service.log, encoding="utf-8") as stream:
            lines = [line.split(" ", 2)[2] for line in stream.read().splitlines()]
        self.assertEqual([line for line in lines if line.startswith("exchange ")][-2:],
                         ["exchange lql failure: lql refused: no user is logged in on this connection",
                          "exchange frobnicate failure: unknown command 'frobnicate'"])

    def test_service_commands_answer_and_refuse_what_the_client_never_sends(self):
        def cadobject(cadid, drop=None, body="", **values):
            attributes = {"name": "Bolt", "dirname": "/work/parts", "cadid": cadid,
                          "modified": "false", "type": "part", "filename": cadid + ".prt",
                          "selectable": "true"}
            attributes.update(values)
            attributes.pop(drop, None)
            text = " ".join("%s='%s'" % item for item in attributes.items())
            return "<cadobject %s>%s</cadobject>" % (text, body)

        def listed(*objects, tag="cadobjectlist"):
            return "<%s>%s</%s>" % (tag, "".join(objects), tag)

        def alias(name, value):
            return ("<userdiralias><name><![CDATA[%s]]></name><value><![CDATA[%s]]></value>"
                    "</userdiralias>" % (name, value))

        page = {"url": "custom/report.jsp", "hangbrowser": "false"}
        command_text = "<userdefinedcommand>report</userdefinedcommand>"
        self.assertIn("no user is logged in", self.reason(self.exchange("preferences")))
        self.assertEqual(self.exchange("login").get("result"), "success")
        refusals = (
            ("preferences", "<x/>", {}, "carries the element(s) 'x'; it has no body"),
            ("encryptionkey", "<b/><a/>", {}, "carries the element(s) 'a', 'b'; it has no body"),
            ("recentlyaccessedparts", "<cadobjectlist/>", {}, "it has no body"),
            ("versions", "", {}, "versions request has no object (element 'cadobjectlist')"),
            ("versions", listed(), {}, "0 'cadobject' element(s) under 'cadobjectlist 1'"),
            ("versions", listed(cadobject("c1")) + listed(cadobject("c2"), cadobject("c3")), {},
             "2 'cadobject' element(s) under 'cadobjectlist 2'"),
            ("versions", listed(cadobject("c1", drop="selectable")), {}, "lacks the attribute(s) 'selectable'"),
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
            ("userdefined", command_text * 2, page, "2 'userdefinedcommand' element(s)"),
            ("userdefined", "<userdefinedcommand> </userdefinedcommand>", page, "an empty command"),
            ("setuserdiralias", "", {}, "no list (element 'userdiraliaslist')"),
            ("setuserdiralias", listed("<userdiralias><value>/a</value></userdiralias>",
                                       tag="userdiraliaslist"), {},
             "entry 1 must be a 'userdiralias' with a name and a value element"),
            ("setuserdiralias", listed(alias("w", "/w"), alias(" ", "/x"), tag="userdiraliaslist"), {},
             "userdiralias 2 has an empty name"),
        )
        for cname, body, extra, message in refusals:
            with self.subTest(cname=cname, body=body):
                self.assertIn(message, self.reason(self.exchange(cname, body, **extra)))

        self.assertEqual(self.exchange("preferences").findtext("info/preferences/attribute/value"),
                         "alice")
        keys = [self.exchange("encryptionkey").findtext("info/encryptionkey") for _ in range(2)]
        self.assertRegex(keys[0], "^[0-9a-f]{32}$")
        self.assertEqual(keys[0], keys[1])
        answer = self.exchange("versions", listed(cadobject("c1")) + listed(
            cadobject("c2", body="<attribute><name>a</name><value>1</value></attribute>",
                      busrevision="B")))
        self.assertEqual([(found.get("cadid"), found.get("busrevision"),
                           [version.get("qxversion") for version in found.findall("version")])
                          for found in answer.findall("info/cadobjectlist/cadobject")],
                         [("c1", "A", ["1", "2"]), ("c2", "B", ["1", "2"])])
        answer = self.exchange("initiatewsm", listed(cadobject("c3"), cadobject("c1")),
                               initialdir="/work")
        self.assertEqual(answer.find("info/workspacemanager").attrib, {"initialdir": "/work", "objects": "2"})
        self.assertEqual([found.get("cadid") for found in
                          self.exchange("recentlyaccessedparts").findall("info/cadobjectlist/cadobject")],
                         ["c3", "c1", "c2"])
        answer = self.exchange("userdefined", "<userdefinedcommand><![CDATA[a<b> ]]]]><![CDATA[> c]]>"
                                              "</userdefinedcommand>", **dict(page, hangbrowser="true"))
        self.assertEqual((answer.findtext("info/userdefinedcommand"),
                          answer.find("info/userdefinedcommand").get("hangbrowser")), ("a<b> ]]> c", "true"))
        answer = self.exchange("setuserdiralias", listed(alias("w", "/w"), alias("R&D", "/r ]]"),
                                                         tag="userdiraliaslist"))
        self.assertEqual([dict(pair.attrib) for pair in answer.findall("info/userdiraliaslist/userdiralias")],
                         [{"name": "w", "value": "/w"}, {"name": "R&D", "value": "/r ]]"}])
        self.assertEqual(len(self.exchange("setuserdiralias", "<userdiraliaslist/>").find(
            "info/userdiraliaslist")), 0)

    def test_pointers_in_pieces_together_and_with_escaped_folders(self):
        folder = os.path.join(self.install, "Prüfstand R&D <'x'>")
        os.mkdir(folder)
        write(os.path.join(folder, "QxRequest.xml"), envelope("ping"))
        escaped = folder.replace("&", "&amp;").replace("<", "&lt;").replace("'", "&apos;")
        data = pointer_text(escaped).encode("utf-8")
        cut = data.index("ü".encode("utf-8")) + 1
        for piece in (data[:10], data[10:cut], data[cut:]):
            self.connection.sendall(piece)
            time.sleep(0.05)
        thin = receive_thin(self.connection)[0]
        self.assertEqual(thin.count("</response>"), 1)
        response, dirname, _ = load_thin(thin)
        self.assertEqual((dirname, response.get("result")), (folder, "success"))

        write(os.path.join(self.install, "QxRequest.xml"), envelope("nosuch"))
        self.connection.sendall((pointer_text(escaped) + pointer_text(self.install)).encode("utf-8"))
        first, second = receive_thin(self.connection, 2)
        self.assertEqual(load_thin(first)[0].get("result"), "success")
        self.assertEqual(self.reason(load_thin(second)[0]), "unknown command 'nosuch'")

    def test_bad_pointers_and_request_files_get_a_failure_and_the_connection_stays_usable(self):
        """An unusable pointer is answered in the profile folder, an unusable request beside it."""
        request = os.path.join(self.install, "QxRequest.xml")
        fallback = (self.service.profile, "okt.response.xml")
        beside = (self.install, "Response.xml")
        cases = (
            (pointer_text("/tmp/a&b"), None, "not well-formed XML", fallback),
            ("<hello dirname='/tmp'/>", None, "has the element 'hello' instead of 'request'", fallback),
            ("<request dirname='/tmp' ver='1' csever='2'/>", None, "lacks the attribute(s) 'filename'",
             fallback),
            (pointer_text(self.install, "../QxRequest.xml"), None, "not a plain file name", fallback),
            (pointer_text("relative/inst"), None, "is not an absolute path", fallback),
            (b"<request dirname='/tmp/\xff\xfe' filename='a' ver='' csever=''/>", None,
             "not well-formed", fallback),
            (pointer_text(self.install), "<command cname='ping'", "is not well-formed XML", beside),
            (pointer_text(self.install), "<response cname='ping'/>",
             "has the root element 'response' instead of 'command'", beside),
            (pointer_text(self.install), "<command cname='ping'/>",
             "lacks the attribute(s) 'iid', 'cse', 'addn', 'ver'", beside),
            (pointer_text(self.install), envelope(""), "empty command name", beside),
            (pointer_text(self.install), envelope("ping", "<x iGSSLID='3'/>"),
             "internal node identifiers", beside),
            (pointer_text(self.install), "<!DOCTYPE command [<!ENTITY a 'aaaa'>]>"
             + envelope("ping")[21:], "document type declarations are not accepted", beside),
            (pointer_text(self.install), "", "request file '%s' does not exist" % request, beside),
        )
        for pointer, request_text, message, answered_in in cases:
            with self.subTest(pointer=pointer, request=request_text):
                if request_text is not None:
                    write(request, request_text)
                    if not request_text:
                        os.remove(request)
                self.connection.sendall(pointer if isinstance(pointer, bytes) else pointer.encode())
                response, dirname, filename = load_thin(receive_thin(self.connection)[0])
                self.assertIn(message, self.reason(response))
                self.assertEqual((dirname, filename), answered_in)
        self.assertEqual(self.exchange("ping").get("result"), "success")

    def test_what_the_client_never_sends_is_refused_with_the_reason(self):
        """Stray bytes around a pointer and envelope values the client never writes."""
        pointer = pointer_text(self.install).encode("utf-8")
        cases = (
            (b"\n" + pointer, envelope("ping"), "has LF before it;"),
            (pointer + b"\r\n", envelope("ping"), "has CR, LF after it;"),
            (b"\0" + pointer + b"\0", envelope("ping"), "has NUL before it and NUL after it;"),
            (pointer, envelope("ping", addn="xyz"), "addn='xyz'; the client always writes 'abc'"),
            (pointer, envelope("ping", loglevel="6"), "loglevel='6'; the client always writes '4'"),
            (pointer, envelope("ping", focusbrowser="yes"), "focusbrowser='yes'; it must be"),
            (pointer, envelope("ping", iid="4711a"), "iid='4711a'; it must be the client's process"),
            (pointer, envelope("ping", iid=""), "iid=''; it must be"),
            (pointer, envelope("ping", ver="10.8"),
             "pointer has ver='10.7.SP1' but its request envelope ver='10.8'"),
            (pointer, envelope("loginEx", password="", csever="3.2"),
             "pointer has csever='3.1' but its request envelope csever='3.2'"),
            (pointer, envelope("ping", username="alice"),
             "envelope of 'ping' carries 'username'; only login and loginEx carry it"),
        )
        for sent, request_text, message in cases:
            with self.subTest(pointer=sent, request=request_text):
                write(os.path.join(self.install, "QxRequest.xml"), request_text)
                self.connection.sendall(sent)
                self.assertIn(message, self.reason(load_thin(receive_thin(self.connection)[0])[0]))
        # The bulk loader's loginEx announces a version of its own.
        self.assertEqual(self.exchange("loginEx", password="", ver="2.0").get("result"), "success")

    def test_response_file_follows_no_planted_link(self):
        victim = write(os.path.join(self.install, "victim.txt"), "keep")
        planted = [os.path.join(self.install, name)
                   for name in (".Response.xml.%d.tmp" % self.service.process.pid, "Response.xml")]
        for link in planted:
            os.symlink(victim, link)
        self.assertEqual(self.exchange("ping").get("result"), "success")
        with open(victim, encoding="utf-8") as stream:
            self.assertEqual(stream.read(), "keep")
        self.assertFalse(os.path.islink(planted[1]))

    def test_unfinished_pointer_is_answered_after_silence(self):
        started = time.monotonic()
        self.connection.sendall(pointer_text(self.install).encode("utf-8")[:30])
        response = load_thin(receive_thin(self.connection)[0])[0]
        self.assertGreaterEqual(time.monotonic() - started, 0.35)
        self.assertIn("incomplete request pointer", self.reason(response))
        self.assertEqual(self.exchange("ping").get("result"), "success")

    def test_clients_are_served_one_after_the_other(self):
        write(os.path.join(self.install, "QxRequest.xml"), envelope("ping"))
        with self.service.connect() as waiting:
            waiting.sendall(pointer_text(self.install).encode("utf-8"))
            waiting.settimeout(0.3)
            with self.assertRaises(socket.timeout):
                waiting.recv(1000)
            self.connection.sendall(b"<request dirname='/tm")  # dropped when the client leaves
            self.connection.close()
            waiting.settimeout(5)
            self.assertEqual(load_thin(receive_thin(waiting)[0])[0].get("result"), "success")


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
        folder = tempfile.mkdtemp(prefix="okt-test-")
        self.addCleanup(shutil.rmtree, folder, True)
        bad_settings = write(os.path.join(folder, "bad.xml"), "<response><info>")
        bad_users = write(os.path.join(folder, "users"), "alice\n:secretpw\n")
        with socket.socket() as busy:
            busy.bind(("127.0.0.1", 0))
            busy.listen(1)
            cases = ((["--profile", os.path.join(folder, "missing")], "does not exist"),
                     (["--profile", folder, "--settings", bad_settings], "not well-formed"),
                     (["--profile", folder, "--users", bad_users], "line 2 needs a user name"),
                     (["--profile", folder, "--users", os.path.join(folder, "none")],
                      "cannot read the users file"),
                     (["--profile", folder, "--port", str(busy.getsockname()[1])], "cannot listen"))
            for arguments, message in cases:
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
        install = tempfile.mkdtemp(prefix="okt-inst-")
        self.addCleanup(shutil.rmtree, install, True)
        users = write(os.path.join(install, "users"), "# name:password\n\ndave:pa:ss word\nalice:old\n")
        service = Service("--port", str(port), "--user", "alice:secret", "--user", "bob",
                          "--users", users)
        self.addCleanup(service.close)
        self.assertEqual(service.port, port)
        cases = ((envelope("login", username="carol"), "user 'carol' is not allowed to log in"),
                 (envelope("loginEx", password="old"), "wrong password for user 'alice'"),
                 (envelope("login"), "user 'alice' has a password and must log in with loginEx"),
                 (envelope("loginEx", password="secret"), None),
                 (envelope("login", username="bob"), None),
                 (envelope("loginEx", username="bob", password="any"), None),
                 (envelope("loginEx", username="dave", password="pa:ss word"), None),
                 (envelope("loginEx", username="dave", password="pa"), "wrong password for user 'dave'"))
        with service.connect() as connection:
            for text, reason in cases:
                with self.subTest(text=text):
                    write(os.path.join(install, "QxRequest.xml"), text)
                    connection.sendall(pointer_text(install).encode("utf-8"))
                    response = load_thin(receive_thin(connection)[0])[0]
                    self.assertEqual((response.get("result"), response.findtext("info/reason")),
                                     ("failure" if reason else "success", reason))


if __name__ == "__main__":
    unittest.main()

"""Tests of the reference OKT service: framing in process, the rest against a running service."""

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
COMPONENT_QUERY = "exec prog CorvaneHelpAbout.tcl;"
THIN_RESPONSE = re.compile(
    r"^<\?xml version='1\.0'\?><response dirname='([^']*)' filename='([^']*)'></response>$")


def pointer_text(dirname, filename="QxRequest.xml", ver="10.7.SP1", csever="3.1"):
    """The pointer as the client library writes it."""
    return ("<?xml version='1.0'?><request dirname='%s' filename='%s' ver='%s' csever='%s'/>"
            % (dirname, filename, ver, csever))


def envelope(cname, **extra):
    """A request document with the envelope the client library writes."""
    attributes = {"cname": cname, "iid": "4711", "cse": "DravikCSE", "addn": "abc",
                  "ver": "10.7.SP1", "csever": "3.1"}
    if cname in ("login", "loginEx"):
        attributes["username"] = "alice"
    attributes.update({"focusbrowser": "false", "loglevel": "4"})
    body = extra.pop("body", "")
    for name, value in extra.items():
        if value is None:
            attributes.pop(name, None)
        else:
            attributes[name] = value
    text = " ".join("%s='%s'" % item for item in attributes.items())
    if body:
        return "<?xml version='1.0'?><command %s>%s</command>" % (text, body)
    return "<?xml version='1.0'?><command %s/>" % text


class Service:
    """A service process in its own profile folder."""

    def __init__(self, *options, profile=None):
        self.folder = tempfile.mkdtemp(prefix="okt-test-")
        self.profile = profile or os.path.join(self.folder, "profile")
        os.makedirs(self.profile, exist_ok=True)
        self.log = os.path.join(self.folder, "exchange.log")
        self.process = subprocess.Popen(
            [sys.executable, SCRIPT, "--profile", self.profile, "--log", self.log] + list(options),
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.banner = self.process.stdout.readline()
        match = re.fullmatch(r"okt-service listening on 127\.0\.0\.1:(\d+)\n", self.banner)
        if not match:
            self.stop()
            raise AssertionError("service did not start: %r %s"
                                 % (self.banner, self.process.stderr.read()))
        self.port = int(match.group(1))

    def connect(self):
        connection = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        return connection

    def stop(self, signal_number=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(signal_number)
        try:
            return self.process.wait(timeout=5)
        finally:
            self.process.stdout.close()
            self.process.stderr.close()

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def receive_thin(connection, count=1):
    """Reads until `count` thin responses have arrived; returns them as texts."""
    data = b""
    while data.count(b"</response>") < count:
        chunk = connection.recv(1000)
        if not chunk:
            raise AssertionError("connection closed after %r" % data)
        data += chunk
    texts = [text + "</response>" for text in data.decode("utf-8").split("</response>")[:-1]]
    return texts


def load_thin(thin):
    """Checks the thin response's layout and loads the response file it names."""
    if THIN_RESPONSE.match(thin) is None:
        raise AssertionError("thin response of another layout: %r" % thin)
    root = ET.fromstring(thin)
    dirname, filename = root.get("dirname"), root.get("filename")
    return okt_xml.parse_file(os.path.join(dirname, filename)), dirname, filename


class PointerFramerTest(unittest.TestCase):
    POINTER = pointer_text("/opt/dravik/inst").encode("utf-8")

    def test_pointer_fed_byte_by_byte_comes_out_once_whole(self):
        framer = PointerFramer()
        pointers = []
        for byte in self.POINTER:
            pointers += framer.feed(bytes([byte]))
        self.assertEqual(pointers, [self.POINTER])
        self.assertEqual(framer.pending, 0)

    def test_markup_inside_values_comments_and_cdata_does_not_end_a_pointer(self):
        tricky = (b"<request dirname='/a/>b' filename=\"x>y\"/>",
                  b"<r><a>t</a><!-- > </r> --><![CDATA[</r>]]></r>")
        framer = PointerFramer()
        self.assertEqual(framer.feed(b"\0 \r\n" + b"".join(tricky) + b"\n"), list(tricky))
        self.assertEqual(framer.pending, 0)

    def test_split_declaration_and_markup_openings_wait_for_more_bytes(self):
        framer = PointerFramer()
        for piece in (b"<", b"?xml version='1.0'?", b"><!", b"-", b"- c --><requ", b"est/", b">"):
            result = framer.feed(piece)
        self.assertEqual(result, [b"<?xml version='1.0'?><!-- c --><request/>"])

    def test_unfinished_pointer_is_pending_until_taken(self):
        framer = PointerFramer()
        self.assertEqual(framer.feed(b"  <request dirname='x"), [])
        self.assertEqual(framer.pending, len(b"<request dirname='x"))
        self.assertEqual(framer.take_pending(), b"<request dirname='x")
        self.assertEqual(framer.feed(self.POINTER), [self.POINTER])

    def test_overlong_pointer_is_flagged(self):
        framer = PointerFramer(limit=100)
        framer.feed(b"<request dirname='" + b"a" * 200)
        self.assertTrue(framer.overflowed)

    def test_text_without_markup_stays_pending(self):
        framer = PointerFramer()
        self.assertEqual(framer.feed(b"hello"), [])
        self.assertEqual(framer.pending, 5)


class DataFilesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="okt-test-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def write(self, text):
        path = os.path.join(self.folder, "data.xml")
        with open(path, "w", encoding="utf-8") as stream:
            stream.write(text)
        return path

    def test_shipped_settings_fill_every_section_with_readable_values(self):
        info = okt_settings.load_global_settings()
        for section in okt_settings.SETTINGS_SECTIONS:
            attributes = info.findall(section + "/attribute")
            self.assertTrue(attributes, section)
            for attribute in attributes:
                value = attribute.find("value")
                if len(value):
                    continue  # pairs
                for line in (value.text or "").split("\n")[1:]:
                    # A following line of a line-valued setting must not be indented.
                    self.assertFalse(line.startswith(" "), attribute.find("name").text)

    def test_settings_with_markup_in_a_plain_value_are_refused(self):
        path = self.write("<response><info><lsettings><attribute><name>A</name>"
                          "<value><b/>x</value></attribute></lsettings></info></response>")
        with self.assertRaisesRegex(okt_settings.SettingsError, "plain value must be text"):
            okt_settings.load_global_settings(path)

    def test_settings_need_the_response_layout(self):
        for text, message in (("<info/>", "root element 'info'"),
                              ("<response/>", "no 'info' element"),
                              ("<response><info><gsettings><attribute><value>1</value>"
                               "</attribute></gsettings></info></response>", "has no name"),
                              ("<response>", "not well-formed")):
            with self.subTest(text=text):
                with self.assertRaisesRegex(okt_settings.SettingsError, message):
                    okt_settings.load_global_settings(self.write(text))

    def test_component_names_with_the_separator_are_refused(self):
        path = self.write("<components><component name='A|B' version='1'/></components>")
        with self.assertRaisesRegex(okt_settings.SettingsError, "without '\\|'"):
            okt_settings.load_components(path)

    def test_component_answer_starts_with_the_status_token(self):
        self.assertEqual(okt_settings.components_text([("Framework", "10.2"), ("OKT", "1.0")]),
                         "0|Framework|10.2|OKT|1.0")
        self.assertEqual(okt_settings.components_text([]), "0")


class ServedExchangeTest(unittest.TestCase):
    """Exchanges with one shared service; every test uses its own connection."""

    @classmethod
    def setUpClass(cls):
        cls.service = Service("--pointer-timeout", "0.4")

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()
        cls.service.remove()

    def setUp(self):
        self.install = tempfile.mkdtemp(prefix="okt-inst-")
        self.connection = self.service.connect()

    def tearDown(self):
        self.connection.close()
        shutil.rmtree(self.install, ignore_errors=True)

    def send_request(self, request_text, connection=None, dirname=None):
        with open(os.path.join(self.install, "QxRequest.xml"), "w", encoding="utf-8") as stream:
            stream.write(request_text)
        connection = connection or self.connection
        connection.sendall(pointer_text(dirname or self.install).encode("utf-8"))
        return receive_thin(connection)[0]

    def exchange(self, cname, **extra):
        response, _, _ = load_thin(self.send_request(envelope(cname, **extra)))
        return response

    def reason(self, response):
        self.assertEqual(response.get("result"), "failure")
        return response.findtext("info/reason")

    def test_port_is_published_in_the_profile_folder(self):
        with open(os.path.join(self.service.profile, "okt.port"), encoding="ascii") as stream:
            self.assertEqual(stream.read(), "%d\n" % self.service.port)

    def test_login_answers_with_the_global_settings_beside_the_request(self):
        thin = self.send_request(envelope("login"))
        self.assertEqual(thin, "<?xml version='1.0'?><response dirname='%s' "
                               "filename='Response.xml'></response>" % self.install)
        response, _, _ = load_thin(thin)
        self.assertEqual(response.tag, "response")
        self.assertEqual(dict(response.attrib), {
            "cname": "login", "iid": "4711", "ver": "10.7.SP1", "csever": "3.1", "MCAD": "abc",
            "result": "success", "deletefiles": "false", "copyattribute": "false",
            "loadfiles": "false", "createpreview": "false", "backgroundcheckin": "false",
            "maintainlock": "false"})
        self.assertEqual(ET.tostring(response.find("info")),
                         ET.tostring(okt_settings.load_global_settings()))
        self.assertIsNone(response.find("info/reason"))

    def test_login_needs_a_user_name_and_login_ex_also_a_password(self):
        self.assertEqual(self.reason(self.exchange("login", username=None)),
                         "login request lacks the user name (attribute 'username')")
        self.assertIn("user name", self.reason(self.exchange("login", username="  ")))
        self.assertEqual(self.reason(self.exchange("loginEx")),
                         "loginEx request lacks the password (attribute 'password')")
        response = self.exchange("loginEx", password="")
        self.assertEqual(response.get("result"), "success")
        self.assertIsNotNone(response.find("info/gsettings"))

    def test_component_versions_are_answered_after_login_only(self):
        query = "<lql>%s</lql>" % COMPONENT_QUERY
        self.assertIn("no user is logged in", self.reason(self.exchange("lql", body=query)))
        self.exchange("login")
        response = self.exchange("lql", body=query)
        self.assertEqual(response.get("result"), "success")
        info = response.find("info")
        self.assertEqual(len(info), 0)
        tokens = info.text.split("|")
        self.assertEqual(tokens[0], "0")
        expected = okt_settings.load_components()
        self.assertEqual(list(zip(tokens[1::2], tokens[2::2])), expected)
        self.assertIn("Framework", dict(expected))

    def test_other_queries_are_refused_by_name(self):
        self.exchange("login")
        self.assertEqual(self.reason(self.exchange("lql", body="<lql>temp query bus *;</lql>")),
                         "lql query not supported by this service: 'temp query bus *;'")
        self.assertEqual(self.reason(self.exchange("lql")),
                         "lql request has no query (element 'lql')")
        self.assertEqual(self.reason(self.exchange("lql", body="<lql> </lql>")),
                         "lql request has an empty query")

    def test_ping_always_succeeds_and_logout_ends_the_session(self):
        self.assertEqual(self.exchange("ping").get("result"), "success")
        self.exchange("login")
        logout = self.exchange("logout")
        self.assertEqual((logout.get("cname"), logout.get("result")), ("logout", "success"))
        query = "<lql>%s</lql>" % COMPONENT_QUERY
        self.assertIn("no user is logged in", self.reason(self.exchange("lql", body=query)))

    def test_unknown_command_fails_naming_the_command(self):
        response = self.exchange("frobnicate")
        self.assertEqual(self.reason(response), "unknown command 'frobnicate'")
        self.assertEqual(response.get("cname"), "frobnicate")

    def test_pointer_in_pieces_with_a_split_multibyte_character(self):
        folder = os.path.join(self.install, "Prüfstand Ä")
        os.mkdir(folder)
        with open(os.path.join(folder, "QxRequest.xml"), "w", encoding="utf-8") as stream:
            stream.write(envelope("ping"))
        data = pointer_text(folder).encode("utf-8")
        cut = data.index("ü".encode("utf-8")) + 1
        for piece in (data[:10], data[10:cut], data[cut:]):
            self.connection.sendall(piece)
            time.sleep(0.05)
        response, dirname, filename = load_thin(receive_thin(self.connection)[0])
        self.assertEqual((dirname, filename), (folder, "Response.xml"))
        self.assertEqual(response.get("result"), "success")

    def test_two_pointers_in_one_send_get_two_answers_in_order(self):
        with open(os.path.join(self.install, "QxRequest.xml"), "w", encoding="utf-8") as stream:
            stream.write(envelope("ping"))
        other = os.path.join(self.install, "other")
        os.mkdir(other)
        with open(os.path.join(other, "QxRequest.xml"), "w", encoding="utf-8") as stream:
            stream.write(envelope("nosuch"))
        self.connection.sendall((pointer_text(self.install) + pointer_text(other)).encode("utf-8"))
        first, second = receive_thin(self.connection, 2)
        self.assertEqual(load_thin(first)[0].get("result"), "success")
        self.assertEqual(self.reason(load_thin(second)[0]), "unknown command 'nosuch'")

    def test_folder_with_markup_characters_travels_escaped(self):
        folder = os.path.join(self.install, "R&D <'x'>")
        os.mkdir(folder)
        with open(os.path.join(folder, "QxRequest.xml"), "w", encoding="utf-8") as stream:
            stream.write(envelope("ping"))
        escaped = folder.replace("&", "&amp;").replace("<", "&lt;").replace("'", "&apos;")
        self.connection.sendall(pointer_text(escaped).encode("utf-8"))
        thin = receive_thin(self.connection)[0]
        self.assertEqual(thin.count("</response>"), 1)
        self.assertTrue(thin.endswith("</response>"))
        self.assertEqual(ET.fromstring(thin).get("dirname"), folder)
        self.assertEqual(load_thin(thin)[0].get("result"), "success")

    def test_malformed_pointers_get_a_failure_and_the_connection_stays_usable(self):
        cases = (
            (pointer_text("/tmp/a&b").encode(), "not well-formed XML"),
            (b"<hello dirname='/tmp'/>", "has the element 'hello' instead of 'request'"),
            (b"<request dirname='/tmp' ver='1' csever='2'/>", "lacks the attribute(s) 'filename'"),
            (pointer_text(self.install, "../QxRequest.xml").encode(), "not a plain file name"),
            (pointer_text("relative/inst").encode(), "is not an absolute path"),
            (b"<request dirname='/tmp/\xff\xfe' filename='a' ver='' csever=''/>",
             "not well-formed XML"),
            (b"junk<request/>", "not well-formed XML"),
        )
        for data, message in cases:
            with self.subTest(data=data):
                self.connection.sendall(data)
                response, dirname, filename = load_thin(receive_thin(self.connection)[0])
                self.assertIn(message, self.reason(response))
                self.assertEqual((dirname, filename), (self.service.profile, "okt.response.xml"))
        self.assertEqual(self.exchange("ping").get("result"), "success")

    def test_unusable_request_files_get_a_failure_beside_the_request(self):
        request = os.path.join(self.install, "QxRequest.xml")
        cases = (
            ("<command cname='ping'", "is not well-formed XML"),
            ("<response cname='ping'/>", "has the root element 'response' instead of 'command'"),
            ("<command cname='ping'/>", "lacks the attribute(s) 'iid', 'cse', 'addn', 'ver'"),
            (envelope("", body=""), "empty command name"),
            (envelope("ping", body="<x iGSSLID='3'/>"), "internal node identifiers"),
            ("<!DOCTYPE command [<!ENTITY a 'aaaa'>]>" + envelope("ping")[21:],
             "document type declarations are not accepted"),
        )
        for text, message in cases:
            with self.subTest(text=text):
                thin = self.send_request(text)
                response, dirname, _ = load_thin(thin)
                self.assertIn(message, self.reason(response))
                self.assertEqual(dirname, self.install)
        os.remove(request)
        self.connection.sendall(pointer_text(self.install).encode("utf-8"))
        response, _, _ = load_thin(receive_thin(self.connection)[0])
        self.assertEqual(self.reason(response), "request file '%s' does not exist" % request)

    def test_unfinished_pointer_is_answered_after_silence(self):
        data = pointer_text(self.install).encode("utf-8")
        started = time.monotonic()
        self.connection.sendall(data[:30])
        response, _, _ = load_thin(receive_thin(self.connection)[0])
        self.assertGreaterEqual(time.monotonic() - started, 0.35)
        self.assertIn("incomplete request pointer", self.reason(response))
        self.assertEqual(self.exchange("ping").get("result"), "success")

    def test_clients_are_served_one_after_the_other(self):
        with open(os.path.join(self.install, "QxRequest.xml"), "w", encoding="utf-8") as stream:
            stream.write(envelope("ping"))
        waiting = self.service.connect()
        try:
            waiting.sendall(pointer_text(self.install).encode("utf-8"))
            waiting.settimeout(0.3)
            with self.assertRaises(socket.timeout):
                waiting.recv(1000)
            self.connection.sendall(b"<request dirname='/tm")  # dropped when the client leaves
            self.connection.close()
            waiting.settimeout(5)
            self.assertEqual(load_thin(receive_thin(waiting)[0])[0].get("result"), "success")
        finally:
            waiting.close()

    def test_log_has_one_line_per_exchange_with_command_and_result(self):
        self.exchange("ping")
        self.exchange("frobnicate")
        with open(self.service.log, encoding="utf-8") as stream:
            lines = [line.split(" ", 2)[2] for line in stream.read().splitlines()]
        exchanges = [line for line in lines if line.startswith("exchange ")]
        self.assertEqual(exchanges[-2:], ["exchange ping success",
                                          "exchange frobnicate failure: unknown command 'frobnicate'"])


class LifecycleTest(unittest.TestCase):
    def test_sigterm_and_sigint_end_the_service_and_remove_only_its_port_file(self):
        for signal_number in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=signal_number):
                service = Service()
                try:
                    kept = os.path.join(service.profile, "settings.ini")
                    open(kept, "w").close()
                    idle = service.connect()  # a connected client must not delay the stop
                    time.sleep(0.1)
                    self.assertEqual(service.stop(signal_number), 0)
                    idle.close()
                    self.assertFalse(os.path.exists(os.path.join(service.profile, "okt.port")))
                    self.assertTrue(os.path.exists(kept))
                finally:
                    service.remove()

    def test_port_file_of_another_service_is_left_in_place(self):
        service = Service()
        try:
            port_file = os.path.join(service.profile, "okt.port")
            with open(port_file, "w") as stream:
                stream.write("1\n")
            self.assertEqual(service.stop(), 0)
            with open(port_file) as stream:
                self.assertEqual(stream.read(), "1\n")
        finally:
            service.remove()

    def test_given_port_is_used(self):
        probe = socket.socket()
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
        probe.close()
        service = Service("--port", str(port))
        try:
            self.assertEqual(service.port, port)
        finally:
            service.stop()
            service.remove()

    def test_start_up_problems_end_with_a_message(self):
        folder = tempfile.mkdtemp(prefix="okt-test-")
        try:
            bad_settings = os.path.join(folder, "bad.xml")
            with open(bad_settings, "w") as stream:
                stream.write("<response><info>")
            busy = socket.socket()
            busy.bind(("127.0.0.1", 0))
            busy.listen(1)
            cases = ((["--profile", os.path.join(folder, "missing")], "does not exist"),
                     (["--profile", folder, "--settings", bad_settings], "not well-formed"),
                     (["--profile", folder, "--port", str(busy.getsockname()[1])],
                      "cannot listen"))
            for arguments, message in cases:
                with self.subTest(arguments=arguments):
                    result = subprocess.run([sys.executable, SCRIPT] + arguments,
                                            capture_output=True, text=True, timeout=10)
                    self.assertEqual(result.returncode, 2)
                    self.assertIn(message, result.stderr)
                    self.assertEqual(result.stdout, "")
            busy.close()
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def test_user_list_restricts_who_may_log_in(self):
        service = Service("--user", "alice:secret", "--user", "bob")
        install = tempfile.mkdtemp(prefix="okt-inst-")
        try:
            cases = ((envelope("login", username="carol"), "failure"),
                     (envelope("loginEx", password="wrong"), "failure"),
                     (envelope("loginEx", password="secret"), "success"),
                     (envelope("login"), "success"),
                     (envelope("loginEx", username="bob", password="any"), "success"))
            with service.connect() as connection:
                for text, result in cases:
                    with self.subTest(text=text):
                        with open(os.path.join(install, "QxRequest.xml"), "w") as stream:
                            stream.write(text)
                        connection.sendall(pointer_text(install).encode("utf-8"))
                        response, _, _ = load_thin(receive_thin(connection)[0])
                        self.assertEqual(response.get("result"), result,
                                         response.findtext("info/reason"))
        finally:
            service.stop()
            service.remove()
            shutil.rmtree(install, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()

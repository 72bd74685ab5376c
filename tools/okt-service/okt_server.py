"""The listening side of the service: one client connection at a time, one exchange per pointer."""

import os
import select
import socket
import sys
import time
import traceback

import okt_commands
import okt_files
import okt_protocol
import okt_xml
from okt_framing import PointerFramer

HOST = "127.0.0.1"
PORT_FILE_NAME = "okt.port"
# Failure answers that cannot be written beside the request go to the profile folder.
FALLBACK_RESPONSE_NAME = "okt.response.xml"
RECEIVE_SIZE = 65536


class ExchangeLog:
    """One line per exchange (and a few service lines), appended to a file or to stderr."""

    def __init__(self, path=None):
        self.path = path
        if path is not None:
            with open(path, "a", encoding="utf-8"):
                pass  # fail at start-up, not at the first exchange

    def _write(self, kind, text):
        line = "%s %s %s\n" % (time.strftime("%Y-%m-%d %H:%M:%S"), kind,
                               " ".join(text.split("\n")))
        if self.path is None:
            sys.stderr.write(line)
            sys.stderr.flush()
            return
        try:
            with open(self.path, "a", encoding="utf-8") as stream:
                stream.write(line)
        except OSError:
            pass  # a lost log line must not stop the service

    def exchange(self, cname, reply):
        text = "%s %s" % (cname or "-", reply.result)
        if reply.result != okt_protocol.SUCCESS:
            text += ": " + reply.reason
        self._write("exchange", text)

    def service(self, text):
        self._write("service", text)


class OktServer:
    def __init__(self, profile_dir, data, log, port=0, pointer_timeout=5.0):
        self.profile_dir = os.path.abspath(profile_dir)
        self.data = data
        self.log = log
        self.requested_port = port
        self.pointer_timeout = pointer_timeout
        self.port = None
        self._listener = None
        self._wake_reader, self._wake_writer = socket.socketpair()
        self._wake_reader.setblocking(False)
        self._wake_writer.setblocking(False)
        self._stopping = False
        self._stop_signal = None

    @property
    def port_file(self):
        return os.path.join(self.profile_dir, PORT_FILE_NAME)

    @property
    def wakeup_fd(self):
        """For signal.set_wakeup_fd: a signal then interrupts any wait at once."""
        return self._wake_writer.fileno()

    def start(self):
        """Listens and publishes the port; raises OSError when either fails."""
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        try:
            listener.bind((HOST, self.requested_port))
            listener.listen(5)
            self.port = listener.getsockname()[1]
            self._write_port_file()
        except OSError:
            listener.close()
            raise
        self._listener = listener
        self.log.service("listening on %s:%d" % (HOST, self.port))

    def _write_port_file(self):
        okt_files.replace_file(self.port_file, b"%d\n" % self.port)

    def request_stop(self, signal_number=None):
        """Safe to call from a signal handler: it only sets a flag and wakes the wait."""
        self._stopping = True
        self._stop_signal = signal_number
        try:
            self._wake_writer.send(b"\0")
        except OSError:
            pass

    def close(self):
        if self._listener is not None:
            self._listener.close()
            self._listener = None
        self._remove_port_file()
        if self._stop_signal is not None:
            self.log.service("stopping on signal %d" % self._stop_signal)
        self._wake_reader.close()
        self._wake_writer.close()
        self.log.service("stopped")

    def _remove_port_file(self):
        # Another service may have published its own port since; leave that one alone.
        try:
            with open(self.port_file, encoding="ascii", errors="replace") as stream:
                if stream.read().strip() != str(self.port):
                    return
            os.remove(self.port_file)
        except OSError:
            pass

    def _wait(self, sock, timeout=None):
        """Waits for sock to be readable; False on a stop request or a time-out."""
        ready, _, _ = select.select([sock, self._wake_reader], [], [], timeout)
        if self._wake_reader in ready:
            try:
                while self._wake_reader.recv(64):
                    pass
            except OSError:
                pass
        return sock in ready and not self._stopping

    def serve_forever(self):
        while not self._stopping:
            if not self._wait(self._listener):
                continue
            try:
                connection, address = self._listener.accept()
            except OSError:
                continue
            self.log.service("client connected from %s:%d" % address)
            try:
                self._serve_connection(connection)
            finally:
                connection.close()
                self.log.service("client disconnected")

    def _serve_connection(self, connection):
        framer = PointerFramer()
        session = okt_commands.Session()
        last_data = time.monotonic()
        while not self._stopping:
            timeout = None
            if framer.pending:
                timeout = max(0.0, last_data + self.pointer_timeout - time.monotonic())
            if not self._wait(connection, timeout):
                if self._stopping:
                    return
                if framer.pending and time.monotonic() - last_data >= self.pointer_timeout:
                    partial = framer.take_pending()
                    reason = ("incomplete request pointer: no complete element after %d bytes "
                              "in %.1f s" % (len(partial), self.pointer_timeout))
                    if not self._answer(connection, okt_commands.failure(reason)):
                        return
                continue
            try:
                data = connection.recv(RECEIVE_SIZE)
            except OSError:
                data = b""
            if not data:
                if framer.pending:
                    self.log.service("client closed the connection inside a request pointer "
                                     "(%d bytes dropped)" % framer.pending)
                elif framer.stray_count:
                    self.log.service("client closed the connection after %d bytes outside any "
                                     "request pointer" % framer.stray_count)
                return
            last_data = time.monotonic()
            for pointer in framer.feed(data):
                if not self._exchange(connection, pointer, session):
                    return
            if framer.overflowed:
                reason = ("request pointer longer than %d bytes; connection closed"
                          % framer.limit)
                self._answer(connection, okt_commands.failure(reason))
                return

    def _exchange(self, connection, pointer_text, session):
        """Serves one pointer; False when the connection is no longer usable."""
        request = None
        folder = None
        try:
            pointer = okt_protocol.parse_pointer(pointer_text)
            folder = pointer.dirname
            request = okt_protocol.load_request(pointer)
            reply = self._perform(request, session)
        except okt_protocol.ProtocolError as error:
            reply = okt_commands.failure(error.reason)
        return self._answer(connection, reply, request, folder)

    def _perform(self, request, session):
        try:
            return okt_commands.perform(request, session, self.data)
        except Exception as error:  # a handler fault must cost one answer, not the service
            self.log.service("internal error in '%s': %s"
                             % (request.cname, traceback.format_exc().strip()))
            return okt_commands.failure("internal error of the service while performing '%s': %s"
                                        % (request.cname, error))

    def _answer(self, connection, reply, request=None, folder=None):
        """Writes the response file, sends the thin response and logs the exchange."""
        root = okt_protocol.build_response(reply, request)
        thin = None
        if folder and os.path.isabs(folder) and os.path.isdir(folder):
            try:
                okt_protocol.write_response(folder, root)
                thin = okt_protocol.thin_response(folder)
            except OSError as error:
                self.log.service("cannot write the response into '%s': %s" % (folder, error))
        if thin is None:
            try:
                okt_protocol.write_response(self.profile_dir, root, FALLBACK_RESPONSE_NAME)
                thin = okt_protocol.thin_response(self.profile_dir, FALLBACK_RESPONSE_NAME)
            except OSError as error:
                self.log.service("cannot write the response into '%s': %s; connection closed"
                                 % (self.profile_dir, error))
                return False
        self.log.exchange(request.cname if request is not None else "", reply)
        try:
            connection.sendall(thin.encode("utf-8"))
        except OSError as error:
            self.log.service("cannot send the response: %s" % error)
            return False
        return True

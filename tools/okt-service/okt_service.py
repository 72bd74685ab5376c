#!/usr/bin/env python3
"""Reference OKT integration service: serves the client library's requests on 127.0.0.1.

Usage: okt_service.py --profile DIR [--port N] [--settings FILE] [--log FILE]
                      [--components FILE] [--user NAME[:PASSWORD]]... [--users FILE]
                      [--pointer-timeout SECONDS] [--vault DIR] [--seed-sample]
"""

import argparse
import os
import signal
import sys

import okt_checkin  # noqa: F401  (registers the check-in commands)
import okt_designs  # noqa: F401  (registers the design commands)
import okt_locks  # noqa: F401  (registers the lock commands)
import okt_updates  # noqa: F401  (registers the update, attribute and details commands)
import okt_manifest
import okt_settings
import okt_vault
from okt_server import HOST, ExchangeLog, OktServer

EXIT_USAGE = 2
DEFAULT_VAULT_NAME = "okt-vault"


def _port(text):
    value = int(text)
    if not 0 <= value <= 65535:
        raise argparse.ArgumentTypeError("port must be between 0 and 65535")
    return value


def _seconds(text):
    value = float(text)
    if value <= 0:
        raise argparse.ArgumentTypeError("time-out must be positive")
    return value


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        prog="okt_service.py",
        description="Reference integration service for the QorviCSECommon client library.")
    parser.add_argument("--profile", required=True, metavar="DIR",
                        help="user profile folder; the port is published there in 'okt.port'")
    parser.add_argument("--port", type=_port, default=0, metavar="N",
                        help="TCP port on 127.0.0.1 (default 0: any free port)")
    parser.add_argument("--settings", default=okt_settings.DEFAULT_SETTINGS_FILE, metavar="FILE",
                        help="global settings handed out at login (default: global_settings.xml)")
    parser.add_argument("--components", default=okt_settings.DEFAULT_COMPONENTS_FILE,
                        metavar="FILE",
                        help="server component versions (default: server_components.xml)")
    parser.add_argument("--log", metavar="FILE",
                        help="exchange log, appended to (default: standard error)")
    parser.add_argument("--user", action="append", metavar="NAME[:PASSWORD]",
                        help="allow only these users to log in (repeatable; default: anyone)")
    parser.add_argument("--users", metavar="FILE",
                        help="allow only the users of this file to log in: one NAME:PASSWORD "
                             "(or NAME) per line; --user overrides the same user")
    parser.add_argument("--pointer-timeout", type=_seconds, default=5.0, metavar="SECONDS",
                        help="answer an unfinished request pointer after this much silence "
                             "(default 5)")
    parser.add_argument("--vault", metavar="DIR",
                        help="the vault of designs, created when missing (default: '%s' in the "
                             "profile folder)" % DEFAULT_VAULT_NAME)
    parser.add_argument("--seed-sample", action="store_true",
                        help="store the sample assembly in the vault unless it holds its designs")
    return parser.parse_args(argv)


def _fail(message):
    sys.stderr.write("okt-service: error: %s\n" % message)
    return EXIT_USAGE


def main(argv=None):
    arguments = parse_arguments(sys.argv[1:] if argv is None else argv)
    if not os.path.isdir(arguments.profile):
        return _fail("profile folder '%s' does not exist" % arguments.profile)
    try:
        users = None
        if arguments.user or arguments.users:
            # A user given on the command line overrides the same user in the file.
            users = dict(okt_settings.load_users(arguments.users) if arguments.users else ())
            users.update(okt_settings.parse_user(text) for text in arguments.user or ())
        data = okt_settings.ServiceData(okt_settings.load_global_settings(arguments.settings),
                                        okt_settings.load_components(arguments.components),
                                        users)
    except okt_settings.SettingsError as error:
        return _fail(str(error))
    try:
        log = ExchangeLog(arguments.log)
    except OSError as error:
        return _fail("cannot open the log file '%s': %s" % (arguments.log, error.strerror))
    try:
        data.vault = okt_vault.Vault(arguments.vault or os.path.join(arguments.profile,
                                                                     DEFAULT_VAULT_NAME))
    except okt_vault.VaultError as error:
        return _fail(str(error))
    try:
        return _serve(arguments, data, log)
    finally:
        data.vault.close()


def _serve(arguments, data, log):
    if arguments.seed_sample:
        try:
            seeded = okt_manifest.seed(data.vault)
        except okt_manifest.ManifestError as error:
            return _fail(str(error))
        log.service("sample assembly: %s" % ("%d designs stored" % seeded if seeded else
                                             "not stored, the vault holds designs of its names"))
    server = OktServer(arguments.profile, data, log, arguments.port, arguments.pointer_timeout)
    try:
        server.start()
    except OSError as error:
        return _fail("cannot listen on %s:%d or publish the port in '%s': %s"
                     % (HOST, arguments.port, server.port_file, error.strerror or error))

    def stop(signal_number, _frame):
        server.request_stop(signal_number)

    signal.set_wakeup_fd(server.wakeup_fd)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    print("okt-service listening on %s:%d" % (HOST, server.port), flush=True)
    try:
        server.serve_forever()
    finally:
        signal.set_wakeup_fd(-1)
        server.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())

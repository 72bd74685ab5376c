"""Tests of locks and the extended check-in, and of several services sharing one vault."""

import os
import shutil
import signal
import subprocess
import sys
import threading
import unittest

import okt_manifest
import okt_vault
import okt_xml
from test_okt_checkin import CADIDS, content
from test_okt_checkin import structure_request as plain_request
from test_okt_service import SCRIPT, Service, envelope, pointer_text, temporary_folder, write
from test_vault_support import SAMPLE_FILES, exchange, listed, objects, perform, refusal

HOUSING = ["Cover", "Gasket", "Hex-Bolt-M6", "Housing", "Housing-Shell", "Housing-Shell-Drawing", "Oil-Channel",
           "Washer-M6"]


def structure_request(cname, roots, folder=SAMPLE_FILES, **extra):
    """The structure request with further attributes on its command."""
    root = plain_request(cname, roots, folder)
    root.attrib.update(extra)
    return root


def outcome(response):
    """(names locked or unlocked with their lock value, names failed with their holder)."""
    found = response.find("info/cadobjectlist")
    return ({element.get("name"): element.get("lock") for element in found.findall("successlist/cadobject")},
            {element.get("name"): element.get("lockedby") for element in found.findall("failurelist/cadobject")})


class LockTest(unittest.TestCase):
    def setUp(self):
        self.vault = okt_vault.Vault(os.path.join(temporary_folder(self), "vault"))
        self.addCleanup(self.vault.close)
        okt_manifest.seed(self.vault)

    def test_locks_are_held_per_user_and_refused_to_others(self):
        housing = structure_request("lock-unlock", ["Housing"])
        prelocked = structure_request("lockunlockEx", ["Housing"], prelock="true")
        for user, request, locked, failed in (
                ("alice", housing, dict.fromkeys(HOUSING, "true"), {}),
                ("bob", housing, {}, dict.fromkeys(HOUSING, "alice")),
                ("alice", housing, dict.fromkeys(HOUSING, "false"), {}),     # all held: released
                ("bob", prelocked, dict.fromkeys(HOUSING, "true"), {}),
                ("bob", prelocked, dict.fromkeys(HOUSING, "true"), {}),      # prelock never releases
                ("alice", structure_request("lock-unlock", ["Gearbox"]),
                 {name: "true" for name in CADIDS if name not in HOUSING}, dict.fromkeys(HOUSING, "bob"))):
            with self.subTest(user=user, cname=request.get("cname")):
                self.assertEqual(outcome(perform(self.vault, request, user)), (locked, failed))
        status = perform(self.vault, envelope("userlockstatus", objects(
            {"type": "part", "name": "Cover", "dirname": SAMPLE_FILES, "cadid": "c", "filename": "Cover.prt"},
            {"type": "part", "name": "Nowhere", "dirname": "", "cadid": "n", "filename": "Nowhere.prt"})), "carol")
        self.assertEqual([(element.get("islocked"), element.get("lockedby"), element.get("qxversion"))
                          for element in status.findall("info/cadobjectlist/cadobject")],
                         [("true", "bob", "1"), ("false", None, None)])
        self.assertIn("locked by bob", refusal(perform(self.vault, structure_request("checkin", ["Cover"]), "alice")))
        self.assertIn("prelock", refusal(perform(self.vault, structure_request("lock-unlock", ["Cover"], prelock="1"))))

    def test_extended_check_in_follows_its_options(self):
        folder = temporary_folder(self)
        shutil.copytree(SAMPLE_FILES, folder, dirs_exist_ok=True)
        write(os.path.join(folder, "Cover.prt"), "changed cover")
        options = ("deletefiles", "maintainlock", "createversion", "overwriteobject")
        for values, versions in ((("true", "false", "false", "false"), {"Cover": 1, "Gasket": 1}),
                                 (("false", "true", "false", "true"), {"Cover": 2, "Gasket": 1}),
                                 (("false", "false", "true", "false"), {"Cover": 3, "Gasket": 2})):
            with self.subTest(values=values):
                request = structure_request("checkinEx", ["Cover", "Gasket"], folder, **dict(zip(options, values)))
                response = perform(self.vault, request)
                self.assertEqual({name: int(element.get("qxversion")) for name, element in listed(response).items()},
                                 versions, refusal(response))
                self.assertEqual((response.get("deletefiles"), response.get("maintainlock")), values[:2])
                self.assertEqual(listed(response)["Cover"].get("filenamewithpath"), os.path.join(folder, "Cover.prt"))
                held = {self.vault.describe(self.vault.resolve(name)).locked_by for name in versions}
                self.assertEqual(held, {"alice" if values[1] == "true" else None})


class SharedVaultTest(unittest.TestCase):
    """Each user's service on one vault."""

    def setUp(self):
        self.folder = temporary_folder(self)
        self.vault = os.path.join(self.folder, "vault")
        with okt_vault.Vault(self.vault) as vault:
            okt_manifest.seed(vault)

    def start(self, env=None):
        service = Service("--vault", self.vault, env=env)
        self.addCleanup(service.close)
        return service

    def test_two_users_locking_the_same_designs_at_once_never_both_win(self):
        services = [self.start(), self.start()]
        connections, folders = [], []
        for user, service in zip(("alice", "bob"), services):
            connections.append(service.connect())
            self.addCleanup(connections[-1].close)
            folders.append(os.path.join(self.folder, user))
            os.mkdir(folders[-1])
            login = envelope("login").replace("username='alice'", "username='%s'" % user)
            self.assertEqual(exchange(connections[-1], folders[-1], login).get("result"), "success")
        request = structure_request("lock-unlock", ["Gearbox"], prelock="true")
        for _round in range(8):
            answers = [None, None]
            start = threading.Barrier(2)

            def lock(index):
                start.wait()
                answers[index] = outcome(exchange(connections[index], folders[index], request))

            threads = [threading.Thread(target=lock, args=(index,)) for index in range(2)]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join(30)
            winners = [index for index, (locked, failed) in enumerate(answers) if locked and not failed]
            self.assertEqual(len(winners), 1, answers)
            self.assertEqual(set(answers[1 - winners[0]][1]), set(CADIDS))
            release = structure_request("lock-unlock", ["Gearbox"])
            self.assertEqual(set(outcome(exchange(connections[winners[0]], folders[winners[0]], release))[0].values()),
                             {"false"})

    def test_service_killed_during_a_check_in_leaves_the_previous_version_whole(self):
        with okt_vault.Vault(self.vault) as vault:
            before = content(vault)
        for step in ("stored", "inserted"):
            with self.subTest(step=step):
                service = self.start(dict(os.environ, OKT_TEST_HOOKS="1", OKT_VAULT_PAUSE_AT=step))
                with service.connect() as connection:
                    exchange(connection, self.folder, envelope("login"))
                    with open(os.path.join(self.folder, "QxRequest.xml"), "wb") as stream:
                        stream.write(okt_xml.to_document(structure_request("checkin", ["Housing"])))
                    connection.sendall(pointer_text(self.folder))
                    self.assertEqual(service.process.stderr.readline(), "paused at %s\n" % step)
                    service.stop(signal.SIGKILL)
                with okt_vault.Vault(self.vault) as vault:
                    self.assertEqual((vault.check(), content(vault)), ([], before))
        # A service without the test switch refuses the hook; the next check-in stores version 2.
        refused = subprocess.run([sys.executable, SCRIPT, "--profile", self.folder, "--vault", self.vault],
                                 env=dict(os.environ, OKT_VAULT_PAUSE_AT="stored"), capture_output=True, text=True,
                                 timeout=30)
        self.assertEqual((refused.returncode, "test hook" in refused.stderr), (2, True))
        with self.start().connect() as connection:
            exchange(connection, self.folder, envelope("login"))
            answer = exchange(connection, self.folder, structure_request("checkin", ["Housing"]))
        self.assertEqual({element.get("qxversion") for element in listed(answer).values()}, {"2"})


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/env python3
"""Records a working run of the demo host against the reference integration service, and replays a
recording without any service.

  recorded_run.py record HOST_PROGRAM RECORDING [--sample FOLDER] [HOST_OPTION...]
  recorded_run.py replay HOST_PROGRAM RECORDING [WORK_FOLDER]

A recording is a folder that can be copied to another machine and replayed there:
  capture/      the numbered files of the run; every path of the run's folder is written as
                @RUN_FOLDER@
  sample/       the assembly that the run checked in: manifest.xml and its folder files/ (by default
                the sample gearbox of the reference service)
  folders.txt   the numbered folders of capture/, which may be empty (version control drops empty
                folders)
  arguments.txt the demo host's options, one a line, with @RUN_FOLDER@ as well

Replay lays out a fresh run folder (the recording's sample, an installation folder, a checkout
folder), writes that folder's path over @RUN_FOLDER@ and runs the demo host with
DV5_MOCK_MODE=replay. The host stops at the first request that differs from the recorded one; the
differences are in the capture log, and replay prints them."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from xml.etree import ElementTree

TOKEN = "@RUN_FOLDER@"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SERVICE = os.path.join(ROOT, "tools", "okt-service", "okt_service.py")
SAMPLE = os.path.join(ROOT, "tools", "okt-service", "sample")
SETTINGS = "[SERVER]\nclientname=127.0.0.1\n[CLIENT]\ndebugflag=true\nclientloglevel=6\nmocklogflag=true\nmockloglevel=6\n"
CAPTURE_LOG = "QxDravikV5MOCK.log"


def default_options(sample):
    """The whole run: login, check-in of the sample, checkout of its first design with a lock,
    update check of every file, logout."""
    top = ElementTree.parse(os.path.join(sample, "manifest.xml")).getroot().find("design").get("name")
    return ["--checkin", os.path.join(TOKEN, "sample", "manifest.xml"), "--checkout", top,
            "--into", os.path.join(TOKEN, "checkout"), "--lock", "--update-all"]


def layout(run, sample):
    """The run folder: the sample, an installation folder with its settings, a profile folder."""
    shutil.copytree(sample, os.path.join(run, "sample"))
    for folder in ("install", "profile"):
        os.makedirs(os.path.join(run, folder))
    with open(os.path.join(run, "install", "settings.ini"), "w", encoding="utf-8") as stream:
        stream.write(SETTINGS)


def host_environment(run, mode):
    return dict(os.environ, DV5_MOCK_MODE=mode, DV5_MOCK_DATA_PATH=os.path.join(run, "capture"),
                DV5_MOCK_CHECKOUT_PATH=os.path.join(run, "checkout"),
                QX_DRAVIK_INSTALL_DIR=os.path.join(run, "install"), USERPROFILE=os.path.join(run, "profile"),
                HOME=os.path.join(run, "profile"), DV5_001="1")


def rewrite_files(folder, old, new):
    """Replaces old by new in every file below folder."""
    for parent, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(parent, name)
            with open(path, "rb") as stream:
                data = stream.read()
            changed = data.replace(old.encode("utf-8"), new.encode("utf-8"))
            if changed != data:
                with open(path, "wb") as stream:
                    stream.write(changed)


def start_service(run):
    output = open(os.path.join(run, "okt-service.out"), "w+", encoding="utf-8")
    service = subprocess.Popen([sys.executable, SERVICE, "--profile", os.path.join(run, "profile"),
                                "--log", os.path.join(run, "okt-service.log"), "--vault", os.path.join(run, "vault")],
                               stdout=output, stderr=subprocess.STDOUT)
    with output:
        for _ in range(150):
            output.seek(0)
            if "okt-service listening on " in output.read():
                return service
            if service.poll() is not None:
                break
            time.sleep(0.1)
        service.kill()
        service.wait()
        output.seek(0)
        raise SystemExit("record: the integration service did not start:\n" + output.read())


def record(program, recording, sample, options):
    if os.path.exists(recording):
        raise SystemExit("record: %s exists already; a recording goes into a new folder" % recording)
    # A short, plain run folder: its path is replaced by the token throughout the recording.
    run = tempfile.mkdtemp(prefix="qorvi-record.")
    layout(run, sample)
    os.makedirs(os.path.join(run, "capture"))
    arguments = [option.replace(TOKEN, run) for option in (options or default_options(sample))]
    service = start_service(run)
    try:
        status = subprocess.run([program] + arguments, env=host_environment(run, "capture")).returncode
    finally:
        service.send_signal(signal.SIGTERM)
        service.wait()
    if status != 0:
        raise SystemExit("record: the demo host failed with exit status %d; the run is in %s" % (status, run))
    os.makedirs(recording)
    shutil.copytree(os.path.join(run, "capture"), os.path.join(recording, "capture"))
    shutil.copytree(os.path.join(run, "sample"), os.path.join(recording, "sample"))
    rewrite_files(os.path.join(recording, "capture"), run, TOKEN)
    folders = sorted(name for name in os.listdir(os.path.join(recording, "capture"))
                     if os.path.isdir(os.path.join(recording, "capture", name)))
    with open(os.path.join(recording, "folders.txt"), "w", encoding="utf-8") as stream:
        stream.write("".join(name + "\n" for name in folders))
    with open(os.path.join(recording, "arguments.txt"), "w", encoding="utf-8") as stream:
        stream.write("".join(argument.replace(run, TOKEN) + "\n" for argument in arguments))
    shutil.rmtree(run, True)
    print("record: the run is recorded in %s" % recording)


def prepare_replay(recording, run):
    """Lays the recording out in the empty folder run; returns the demo host's options."""
    # The path is written into XML text as it stands (also where a recorded text holds XML).
    if any(character in run for character in "&<>'\""):
        raise SystemExit("replay: the run folder's path must not hold any of & < > ' \"")
    layout(run, os.path.join(recording, "sample"))
    capture = os.path.join(run, "capture")
    shutil.copytree(os.path.join(recording, "capture"), capture)
    with open(os.path.join(recording, "folders.txt"), encoding="utf-8") as stream:
        for name in stream.read().split():
            os.makedirs(os.path.join(capture, name), exist_ok=True)
    rewrite_files(capture, TOKEN, run)
    with open(os.path.join(recording, "arguments.txt"), encoding="utf-8") as stream:
        return [line.replace(TOKEN, run) for line in stream.read().splitlines()]


def replay(program, run, arguments):
    """Runs the demo host in replay mode in a prepared run folder; returns the completed process
    and the lines of the capture log that report differences and broken documents."""
    host = subprocess.run([program] + arguments, env=host_environment(run, "replay"), capture_output=True,
                          text=True, timeout=120)
    log = os.path.join(run, "install", CAPTURE_LOG)
    text = ""
    if os.path.exists(log):
        with open(log, encoding="utf-8", errors="replace") as stream:
            text = stream.read()
    report, keep = [], False
    for line in text.splitlines():
        if line.startswith("<"):
            keep = line.startswith("<3>")
        if keep:
            report.append(line)
    return host, report


def main(argv):
    if len(argv) >= 3 and argv[0] == "record":
        options = argv[3:]
        sample = SAMPLE
        if options[:1] == ["--sample"] and len(options) >= 2:
            sample, options = os.path.abspath(options[1]), options[2:]
        record(os.path.abspath(argv[1]), os.path.abspath(argv[2]), sample, options)
        return 0
    if len(argv) in (3, 4) and argv[0] == "replay":
        run = os.path.abspath(argv[3]) if len(argv) == 4 else tempfile.mkdtemp(prefix="qorvi-replay.")
        host, report = replay(os.path.abspath(argv[1]), run, prepare_replay(os.path.abspath(argv[2]), run))
        sys.stdout.write(host.stdout)
        sys.stderr.write(host.stderr)
        sys.stderr.write("".join(line + "\n" for line in report))
        print("replay: %s (exit status %d); the run is in %s"
              % ("passed" if host.returncode == 0 else "FAILED", host.returncode, run))
        return 0 if host.returncode == 0 else 1
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""Helpers shared by the vault and check-in tests: the sample assembly, commands performed in process
or over a connection, and answers read back as names and uses."""

import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import quoteattr

import okt_checkin  # noqa: F401  (registers the check-in commands)
import okt_commands
import okt_designs  # noqa: F401  (registers the design commands)
import okt_locks  # noqa: F401  (registers the lock commands)
import okt_updates  # noqa: F401  (registers the update, attribute and details commands)
import okt_manifest
import okt_protocol
import okt_settings
import okt_vault
import okt_xml
from test_okt_service import pointer_text, receive

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE_FILES = os.path.join(HERE, "sample", "files")
with open(okt_manifest.SAMPLE_MANIFEST, encoding="utf-8") as _stream:
    MANIFEST = json.load(_stream)


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


def folder_contents(folder):
    """Every file of the folder: its name and content."""
    return {name: read(os.path.join(folder, name)) for name in os.listdir(folder)}


def objects(*attribute_sets):
    """A request body naming designs: one "cadobject" per attribute dictionary."""
    return "<cadobjectlist>%s</cadobjectlist>" % "".join(
        "<cadobject %s/>" % " ".join("%s=%s" % (name, quoteattr(value)) for name, value in attributes.items())
        for attributes in attribute_sets)


def pairs(element):
    return [(pair.findtext("name"), pair.findtext("value")) for pair in element.findall("attribute")]


def listed(response):
    """The answer's objects by name."""
    return {element.get("name"): element for element in response.findall("info/cadobjectlist/cadobject")}


def flagged(response, attribute):
    """The names of the answer's objects whose attribute is "true"."""
    return sorted(name for name, element in listed(response).items() if element.get(attribute) == "true")


def uses(response):
    """Every use in the structure as (parent name, child name, relationship type, its attributes)."""
    names = {element.get("cadid"): element.get("name") for element in response.iter("cadobject")
             if element.get("name")}
    relationships = {element.get("rid"): element
                     for element in response.findall("info/relationshiplist/relationship")}
    found = []

    def walk(node):
        for child in node.findall("cadobject"):
            relationship = relationships[child.find("relationship").get("rid")]
            found.append((names[node.get("cadid")], names[child.get("cadid")],
                          relationship.get("cadrelationship"), pairs(relationship)))
            walk(child)

    for root in response.findall("info/structure/cadobject"):
        walk(root)
    return sorted(found)


def manifest_uses(parents=None):
    """The uses of the sample assembly as `uses` lists them (of the parents named, or all)."""
    return sorted((item["parent"], item["child"], item["relationship"],
                   [("Quantity", str(item.get("quantity", 1)))] + list(item.get("attributes", {}).items()))
                  for item in MANIFEST["relationships"] if parents is None or item["parent"] in parents)


def perform(vault, request, user="alice"):
    """Performs the request (text or element) on the vault in process, as the user; the answer."""
    data = request.encode("utf-8") if isinstance(request, str) else ET.tostring(request)
    parsed = okt_protocol.Request(None, okt_xml.parse(data))
    session = okt_commands.Session()
    session.user = user
    reply = okt_commands.perform(parsed, session, okt_settings.ServiceData(None, [], vault=vault))
    return okt_xml.parse(okt_xml.to_document(okt_protocol.build_response(reply, parsed)))


def refusal(response):
    """The reason of a refused request; "" for an answer of another result."""
    return response.findtext("info/reason") if response.get("result") == "failure" else ""


def exchange(connection, folder, request):
    """Writes the request (text or element) into the folder, points the service at it; the answer."""
    with open(os.path.join(folder, "QxRequest.xml"), "wb") as stream:
        stream.write(request.encode("utf-8") if isinstance(request, str) else ET.tostring(request))
    connection.sendall(pointer_text(folder))
    return receive(connection)[0][0]


def run_ended_at(step, code, *arguments):
    """Runs the Python code in a process of its own that the vault ends at the write step; its status."""
    return subprocess.run([sys.executable, "-c", code] + list(arguments), cwd=HERE, timeout=60,
                          env=dict(os.environ, **{okt_vault.EXIT_AT_VARIABLE: step,
                                                 okt_vault.TEST_HOOKS_VARIABLE: "1"})).returncode

"""The sample ships its assembly twice: manifest.json, which seeds the vault, and manifest.xml,
which the demo host checks in. Both must describe the same assembly."""

import json
import os
import unittest
import xml.etree.ElementTree as ET

SAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sample")


def from_json():
    with open(os.path.join(SAMPLE, "manifest.json"), encoding="utf-8") as stream:
        document = json.load(stream)
    designs = [(d["name"], d["type"], d["servertype"], d.get("revision", "A"), d["files"],
                sorted(d.get("attributes", {}).items())) for d in document["designs"]]
    uses = [(r["parent"], r["child"], r["relationship"], r.get("topnode", "dpt"), r.get("quantity", 1),
             sorted(r.get("attributes", {}).items())) for r in document.get("relationships", [])]
    return designs, uses


def from_xml():
    root = ET.parse(os.path.join(SAMPLE, "manifest.xml")).getroot()
    pairs = lambda element: sorted((a.get("name"), a.get("value")) for a in element.findall("attribute"))
    designs = [(d.get("name"), d.get("type"), d.get("servertype"), d.get("revision", "A"),
                [f.get("name") for f in d.findall("file")], pairs(d)) for d in root.findall("design")]
    uses = [(r.get("parent"), r.get("child"), r.get("relationship"), r.get("topnode", "dpt"),
             int(r.get("quantity", "1")), pairs(r)) for r in root.findall("relationship")]
    return designs, uses


class SampleManifestTest(unittest.TestCase):
    def test_xml_and_json_describe_the_same_assembly(self):
        self.assertEqual(from_xml(), from_json())

    def test_every_listed_file_is_in_the_sample(self):
        listed = {name for design in from_xml()[0] for name in design[4]}
        self.assertEqual(listed, set(os.listdir(os.path.join(SAMPLE, "files"))))
        self.assertTrue({"O'Brien bracket.prt", "Zahnrad-ü.prt", "歯車.prt"} <= listed)


if __name__ == "__main__":
    unittest.main()

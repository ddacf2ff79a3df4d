#!/usr/bin/env python3
"""The runner's checks of what a monitoring host can read: which runs answer
PRTG with an XML document alone, and which outputs its parser refuses."""

import sys
import unittest

from host_formats import is_quiet_xml_run, prtg_document_problem


class QuietXmlRuns(unittest.TestCase):
    def test_runs(self):
        cases = [
            (["PRD"], True),
            ([], True),                                   # Error 1001, an XML document
            (["PRD", "flavour=kestrel"], True),
            (["PRD", "FLAVOUR=Bramble,CH=2"], True),
            (["PRD", "FLAVOUR=Nowhere"], True),           # Error 1008, an XML document
            (["PRD", "FLAVOUR=Pinewood"], False),
            (["GLOBAL", "ora1", "flavour=juniper"], False),
            (["PRD", "#"], False),
            (["PRD", "FLAVOUR=Kestrel", "x@y"], False),
            (["PRD", "a", "b", "%"], True),               # a fourth argument has no effect
            (["PRD", "FLAVOUR", "=Pinewood"], True),      # joined with a blank: no keyword
        ]
        for args, quiet in cases:
            with self.subTest(args=args):
                self.assertEqual(is_quiet_xml_run(args), quiet)


class PrtgDocuments(unittest.TestCase):
    def test_outputs(self):
        readable = [
            b"\n<Prtg>\n\n<Text>(PRD) Oracle: Critical_Spaces=2</Text>\n\n</Prtg>\n",
            b"<Prtg>\n<Error>1</Error>\n<Text>R&amp;D &lt;host&gt;</Text>\n</Prtg>\n",
            b"\n<Prtg>\n\n\n<Result><Channel>PRD</Channel>\n<Value>3</Value></Result>\n"
            b"<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n",
            b"<Prtg><Text>\xe4</Text></Prtg>",
        ]
        refused = [
            (b"* SapRfc.Ini.......: PRD<\n\n<Prtg>\n</Prtg>\n", "not one XML document"),
            (b"\n<Prtg>\n\n<Result><Channel>P</Channel></Result>\n<Prtg>\n<Error>1</Error>\n</Prtg>\n",
             "not one XML document"),
            (b"<Prtg>\n<Text>R&D</Text>\n</Prtg>\n", "not one XML document"),
            (b"<Prtg>\n<Text><host></Text>\n</Prtg>\n", "not one XML document"),
            (b"<Prtg></Prtg>\nRFC error\n", "not one XML document"),
            (b"RFC error\noperation/code  : RfcCall\n", "not one XML document"),
            (b"", "not one XML document"),
            (b"<Result></Result>", "root element is <Result>"),
        ]
        for output in readable:
            with self.subTest(output=output):
                self.assertIsNone(prtg_document_problem(output))
        for output, problem in refused:
            with self.subTest(output=output):
                self.assertIn(problem, prtg_document_problem(output) or "")


if __name__ == "__main__":
    sys.exit(unittest.main(verbosity=1))

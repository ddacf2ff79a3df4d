#!/usr/bin/env python3
"""The runner's checks of what a monitoring host can read: which runs answer
PRTG with an XML document alone, and which outputs its parser refuses."""

import sys
import unittest

from host_formats import (form_of, is_quiet_plugin_run, is_quiet_xml_run, plugin_status_problem, prometheus_problem,
                          prtg_document_problem)


class QuietRuns(unittest.TestCase):
    """The runner reads the form a case states; the verbose marks and the
    plugin's --help and --version leave the host's reading out."""

    def test_xml_runs(self):
        cases = [
            ({"args": ["PRD"], "form": "xml"}, True),
            ({"args": [], "form": "xml"}, True),                      # Error 1001, an XML document
            ({"args": ["PRD", "FLAVOUR=Pinewood"], "form": "text"}, False),
            ({"args": ["PRD", "#"], "form": "xml"}, False),
            ({"args": ["PRD", "FLAVOUR=Kestrel", "x@y"], "form": "xml"}, False),
            ({"args": ["PRD", "a", "b", "%"], "form": "xml"}, True),  # a fourth argument has no effect
        ]
        for case, quiet in cases:
            with self.subTest(case=case):
                self.assertEqual(is_quiet_xml_run(case), quiet)

    def test_plugin_runs(self):
        cases = [
            ({"args": ["PRD", "FLAVOUR=Nagios"], "form": "plugin"}, True),
            ({"args": ["PRD", "-v", "FLAVOUR=Nagios"], "form": "plugin"}, True),  # -v writes after the status line
            ({"args": ["--help"], "form": "plugin"}, False),
            ({"args": ["-V"], "form": "plugin"}, False),
            ({"args": ["PRD"], "form": "xml"}, False),
        ]
        for case, quiet in cases:
            with self.subTest(case=case):
                self.assertEqual(is_quiet_plugin_run(case), quiet)

    def test_a_case_must_state_its_form(self):
        for case in ({"args": ["PRD"]}, {"args": ["PRD"], "form": "html"}):
            with self.subTest(case=case):
                with self.assertRaises(ValueError):
                    form_of(case)


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


class PluginStatusLines(unittest.TestCase):
    def test_lines(self):
        readable = [
            (b"SPACEWARDEN OK - (PRD) Oracle: Critical_Spaces=2 | Critical_Spaces=2 Critical_Objects=1234\n", 0),
            (b"SPACEWARDEN CRITICAL - t | 'PRD host'=3;10;~:20 QAS.P00=-1;;5:\n", 2),
            (b"SPACEWARDEN WARNING - (***) Critical_Spaces: NoSystems=1 | a=1;10\n", 1),
            (b"SPACEWARDEN UNKNOWN - Error 1002: Profile R&D.P00 is missing...\n", 3),
            (b"SPACEWARDEN OK - (***) Critical_Spaces: NoSystems=0, Processed=0, Failed=0\n", 0),
            (b"SPACEWARDEN UNKNOWN - Error 1009: Unknown option X=1 !\nUsage: check_spacewarden [-v] -p PROFILE\n", 3),
            (b"SPACEWARDEN OK - t | a=1\n* 10:00:00 SAP SpaceWarden\n\n", 0),
        ]
        refused = [
            (b"SPACEWARDEN OK - text | a=1\n", 2, "goes with exit code 0"),
            (b"SPACEWARDEN OK - text | a=1\nmore | b=2\n", 0, "holds a '|'"),
            (b"Usage: check_spacewarden\nSPACEWARDEN OK - text | a=1\n", 0, "not begin with a status line"),
            (b"SPACEWARDEN OK - text | a b=1\n", 0, "not begin with a status line"),
            (b"SPACEWARDEN OK - a|b | a=1\n", 0, "not begin with a status line"),
            (b"SPACEWARDEN FINE - text\n", 0, "not begin with a status line"),
            (b"SPACEWARDEN OK - text", 0, "not begin with a status line"),
            (b"<Prtg>\n<Error>1</Error>\n</Prtg>\n", 2, "not begin with a status line"),
        ]
        for output, code in readable:
            with self.subTest(output=output):
                self.assertIsNone(plugin_status_problem(output, code))
        for output, code, problem in refused:
            with self.subTest(output=output):
                self.assertIn(problem, plugin_status_problem(output, code) or "")


class PrometheusTexts(unittest.TestCase):
    def test_one_series_per_label_set(self):
        head = "# HELP m x\n# TYPE m gauge\n"
        self.assertIsNone(prometheus_problem(head + 'm{s="P",t="A"} 1\nm{s="P",t="A #2"} 2\n'))
        for text in (head + 'm{s="P",t="A"} 1\nm{s="P",t="A"} 2\n',   # one name twice
                     head + 'm{s="P",t=""} 1\nm{s="P"} 2\n'):          # an empty value is no label
            with self.subTest(text=text):
                self.assertIn("two series", prometheus_problem(text) or "")


if __name__ == "__main__":
    sys.exit(unittest.main(verbosity=1))

"""What the monitoring hosts can read: checks that the runner makes of every
case's standard output, besides comparing it byte for byte.

PRTG reads an EXE/XML sensor's output with an XML parser: text before or after
the document, an element left open, or a raw "&" or "<" makes the sensor go
down with PRTG's own parse error instead of the sensor's text. So, for every
case in an XML flavour without a verbose option (whose console lines are for a
terminal), the output must be exactly one XML document whose root is Prtg.
"""

import xml.etree.ElementTree as ElementTree

TEXT_FLAVOURS = ("PINEWOOD", "JUNIPER")
VERBOSE_MARKS = "#@$%"


def options_of(args):
    """Arguments 2 and 3 joined with one blank, as the sensor takes its options."""
    return " ".join(args[1:3])


def flavour_of(args):
    """The FLAVOUR= value of the options, upper-cased; empty when there is none."""
    options = options_of(args).upper()
    position = options.find("FLAVOUR=")
    if position < 0:
        return ""
    value = options[position + len("FLAVOUR="):]
    for stop in " ,":
        value = value.split(stop, 1)[0]
    return value


def is_quiet_xml_run(args):
    """Whether the sensor answers the host with an XML document alone: an XML
    flavour (an unknown flavour gets the XML error document) and no verbose option."""
    if any(mark in options_of(args) for mark in VERBOSE_MARKS):
        return False
    return flavour_of(args) not in TEXT_FLAVOURS


def prtg_document_problem(output):
    """Why PRTG's parser would refuse the output, or None. The sensor writes 8-bit
    text, taken here as latin-1."""
    try:
        root = ElementTree.fromstring(output.decode("latin-1"))
    except ElementTree.ParseError as problem:
        return f"standard output is not one XML document: {problem}"
    if root.tag != "Prtg":
        return f"the document's root element is <{root.tag}>, not <Prtg>"
    return None

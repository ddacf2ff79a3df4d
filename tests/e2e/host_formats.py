"""What the monitoring hosts can read: checks that the runner makes of every
case's standard output, besides comparing it byte for byte.

PRTG reads an EXE/XML sensor's output with an XML parser: text before or after
the document, an element left open, or a raw "&" or "<" makes the sensor go
down with PRTG's own parse error instead of the sensor's text. So, for every
case in an XML flavour without a verbose option (whose console lines are for a
terminal), the output must be exactly one XML document whose root is Prtg.

Hosts of monitoring plugins (Nagios, Icinga, Naemon) read one status line,
"SERVICE STATE - text | performance data", and the exit code of the state; the
lines after it are long text, in which a "|" would start more performance data.
So, for every case in the flavour Nagios (but --help and --version), the first
line must be that status line, its performance data in the guidelines' syntax,
the exit code that of its state, and no later line may hold a "|".
"""

import re
import xml.etree.ElementTree as ElementTree

TEXT_FLAVOURS = ("PINEWOOD", "JUNIPER")
XML_FLAVOURS = ("EXEXML", "KESTREL", "BRAMBLE")
PLUGIN_FLAVOUR = "NAGIOS"
VERBOSE_MARKS = "#@$%"
PLUGIN_STATES = ("OK", "WARNING", "CRITICAL", "UNKNOWN")
_NUMBER = r"-?[0-9]+(?:\.[0-9]+)?"
_RANGE = rf"(?:~|{_NUMBER})?:?(?:{_NUMBER})?"
_ENTRY = rf"(?:'[^'=]*'|[A-Za-z0-9_.-]+)={_NUMBER}(?:;{_RANGE}){{0,2}}"
PLUGIN_LINE = re.compile(rf"SPACEWARDEN ({'|'.join(PLUGIN_STATES)}) - ([^|\n]*?)(?: \| ({_ENTRY}(?: {_ENTRY})*))?\n")
PLUGIN_ONLY_OPTIONS = ("-h", "--help", "-V", "--version")


def options_of(args):
    """Arguments 2 and 3 joined with one blank, as the sensor takes its options."""
    return " ".join(args[1:3])


def flavour_of(args):
    """The FLAVOUR= value of the options, upper-cased; empty when there is none
    (a monitoring plugin's standard options may stand anywhere)."""
    options = " ".join(a for a in args[1:] if not a.startswith("-")).upper()
    position = options.find("FLAVOUR=")
    if position < 0:
        return ""
    value = options[position + len("FLAVOUR="):]
    for stop in " ,":
        value = value.split(stop, 1)[0]
    return value


def output_form(args, program="SpaceWarden"):
    """How the sensor answers: "xml", "text" or "plugin". Without FLAVOUR= (or
    with an unknown one, whose Error 1008 comes in the default's form) the
    program's name decides: check_... is a monitoring plugin."""
    flavour = flavour_of(args)
    if flavour in TEXT_FLAVOURS:
        return "text"
    if flavour in XML_FLAVOURS:
        return "xml"
    if flavour == PLUGIN_FLAVOUR or program.lower().startswith("check_"):
        return "plugin"
    return "xml"


def is_verbose(args):
    return any(mark in options_of(args) for mark in VERBOSE_MARKS)


def is_quiet_xml_run(args, program="SpaceWarden"):
    """Whether the sensor answers the host with an XML document alone: an XML
    flavour (an unknown flavour gets the XML error document) and no verbose option."""
    return not is_verbose(args) and output_form(args, program) == "xml"


def is_quiet_plugin_run(args, program="SpaceWarden"):
    """Whether the sensor answers as a monitoring plugin with its status line
    first: every plugin run but --help and --version (-v adds lines after it)."""
    return output_form(args, program) == "plugin" and not any(a in PLUGIN_ONLY_OPTIONS for a in args)


def plugin_status_problem(output, exit_code):
    """Why a monitoring plugins' host would not read the output as a status
    line whose state is the exit code's, followed by long text, or None."""
    text = output.decode("latin-1")
    first, newline, rest = text.partition("\n")
    match = PLUGIN_LINE.fullmatch(first + newline)
    if not match:
        return f"standard output does not begin with a status line 'SPACEWARDEN STATE - text | perfdata': {text!r}"
    if "|" in rest:
        return f"a line after the status line holds a '|', which starts performance data: {rest!r}"
    state = PLUGIN_STATES.index(match.group(1))
    if exit_code != state:
        return f"the state {match.group(1)} goes with exit code {state}, not {exit_code}"
    return None


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

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

Checkmk reads local-check lines ('STATE "Service" metrics details', metrics
name=value;warn;crit joined by "|"); PRTG's Script v2 one JSON object of its
shape, after exit code 0; Prometheus' textfile collector the text format, here
parsed by python3-prometheus-client's own parser.
"""

import json
import re
import sys
import xml.etree.ElementTree as ElementTree

VERBOSE_MARKS = "#@$%"
PLUGIN_STATES = ("OK", "WARNING", "CRITICAL", "UNKNOWN")
_NUMBER = r"-?[0-9]+(?:\.[0-9]+)?"
_RANGE = rf"(?:~|{_NUMBER})?:?(?:{_NUMBER})?"
_ENTRY = rf"(?:'[^'=]*'|[A-Za-z0-9_.-]+)={_NUMBER}(?:;{_RANGE}){{0,2}}"
PLUGIN_LINE = re.compile(rf"SPACEWARDEN ({'|'.join(PLUGIN_STATES)}) - ([^|\n]*?)(?: \| ({_ENTRY}(?: {_ENTRY})*))?\n")
PLUGIN_ONLY_OPTIONS = ("-h", "--help", "-V", "--version")
REPORT_FORMS = ("checkmk", "scriptv2", "prometheus")
_METRIC = r"[A-Za-z0-9_.-]+=-?[0-9]+(?:\.[0-9]+)?(?:;(?:-?[0-9]+(?:\.[0-9]+)?)?){0,4}"
CHECKMK_LINE = re.compile(rf'([0-3P]) "([^"\n]+)" (-|{_METRIC}(?:\|{_METRIC})*) ([^|\n\r]*)\n')
SCRIPT_V2_TYPES = ("integer", "float", "counter", "lookup")


def options_of(args):
    """Arguments 2 and 3 joined with one blank, as the sensor takes its options."""
    return " ".join(args[1:3])


FORMS = ("xml", "text", "plugin", "checkmk", "scriptv2", "prometheus")


def form_of(case):
    """The form in which the case expects the sensor to answer, as the case
    says it ("form"): "xml" (PRTG's XML flavours, and the error document of
    an unknown flavour), "text" (Pinewood, Juniper), "plugin", "checkmk",
    "scriptv2" or "prometheus". The runner never works out the program's
    choice of format for itself."""
    form = case.get("form")
    if form not in FORMS:
        raise ValueError(f"form = {form!r}: the case must say its form, one of {', '.join(FORMS)}")
    return form


def is_verbose(args):
    return any(mark in options_of(args) for mark in VERBOSE_MARKS)


def is_quiet_xml_run(case):
    """Whether the sensor answers the host with an XML document alone: an XML
    form and no verbose option."""
    return not is_verbose(case.get("args", [])) and form_of(case) == "xml"


def is_quiet_plugin_run(case):
    """Whether the sensor answers as a monitoring plugin with its status line
    first: every plugin run but --help and --version (-v adds lines after it)."""
    return form_of(case) == "plugin" and not any(a in PLUGIN_ONLY_OPTIONS for a in case.get("args", []))


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


def report_format_problem(form, output, exit_code):
    """Why the host of a format written from the whole report ("checkmk",
    "scriptv2", "prometheus") would not read the output, or None."""
    try:
        text = output.decode("utf-8")
    except UnicodeDecodeError as problem:
        return f"standard output is not UTF-8: {problem}"
    return {"checkmk": checkmk_problem, "scriptv2": script_v2_problem, "prometheus": prometheus_problem}[form](
        text, exit_code)


def checkmk_problem(text, exit_code=0):
    """Local-check lines: each 'STATE "Service name" metrics details'."""
    if not text:
        return "no local-check line"
    for line in text.splitlines(keepends=True):
        if not CHECKMK_LINE.fullmatch(line):
            return f"not a local-check line: {line!r}"
    names = [CHECKMK_LINE.fullmatch(line).group(2) for line in text.splitlines(keepends=True)]
    if len(set(names)) != len(names):
        return f"a service named twice: {names}"
    return None


def script_v2_problem(text, exit_code):
    """One JSON object of Script v2's shape, with exit code 0."""
    if exit_code != 0:
        return f"exit code {exit_code}: PRTG reads a Script v2 sensor's output after exit code 0 only"
    try:
        document = json.loads(text)
    except ValueError as problem:
        return f"standard output is not one JSON document: {problem}"
    if not isinstance(document, dict):
        return "the document is not a JSON object"
    if document.get("version") != 2 or type(document.get("version")) is not int:
        return "version is not the integer 2"
    if document.get("status") not in ("ok", "warning", "error"):
        return f"status {document.get('status')!r} is none of ok, warning, error"
    message = document.get("message", "")
    if not isinstance(message, str) or len(message) > 2000:
        return "message is no text of at most 2,000 characters"
    channels = document.get("channels", [])
    if not isinstance(channels, list) or len(channels) > 50:
        return "channels is no list of at most 50"
    ids = set()
    for channel in channels:
        if not isinstance(channel, dict):
            return f"a channel is not an object: {channel!r}"
        ident = channel.get("id")
        if type(ident) is not int or not 10 <= ident <= 2147483647 or ident in ids:
            return f"channel id {ident!r} is not a unique integer from 10 to 2147483647"
        ids.add(ident)
        if not isinstance(channel.get("name"), str) or channel.get("type") not in SCRIPT_V2_TYPES:
            return f"a channel without a name or a known type: {channel!r}"
        if type(channel.get("value")) not in (int, float):
            return f"a channel's value is not a number: {channel!r}"
    return None


def prometheus_parser():
    """Prometheus' text parser from Debian's python3-prometheus-client, also
    for a Python of its own (a pyenv one) that does not look into Debian's
    packages: the package is pure Python."""
    try:
        from prometheus_client.parser import text_string_to_metric_families
    except ImportError:
        if "/usr/lib/python3/dist-packages" in sys.path:
            raise
        sys.path.append("/usr/lib/python3/dist-packages")
        from prometheus_client.parser import text_string_to_metric_families
    return text_string_to_metric_families


def prometheus_problem(text, exit_code=0):
    """The text format as Prometheus' own client library parses it, without
    timestamps (the textfile collector skips such a file whole), HELP and TYPE
    once per metric, a newline at the end."""
    try:
        text_string_to_metric_families = prometheus_parser()
    except ImportError:
        return "python3-prometheus-client is not installed: apt-get install python3-prometheus-client"
    if not text.endswith("\n"):
        return "the text does not end with a newline"
    try:
        families = list(text_string_to_metric_families(text))
    except Exception as problem:  # the parser raises ValueError and others
        return f"Prometheus' parser refuses it: {problem}"
    names = [family.name for family in families]
    if len(set(names)) != len(names):
        return f"a metric's samples are not together: {names}"
    for family in families:
        if family.type != "gauge":
            return f"{family.name} is not a gauge"
        label_sets = set()
        for sample in family.samples:
            if sample.timestamp is not None:
                return f"{sample.name} has a timestamp"
            # node_exporter refuses the whole file for two series of one label set;
            # an empty label value is the same as none.
            labels = frozenset((name, value) for name, value in sample.labels.items() if value != "")
            if labels in label_sets:
                return f"{sample.name} has two series with the labels {dict(labels)}"
            label_sets.add(labels)
    return None

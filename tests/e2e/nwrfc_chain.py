"""The chain sensor -> NetWeaver RFC adapter -> nwrfcsim for run_case.py --chain nwrfc.

A case runs through the chain unchanged, except that the classic simulator's
journal is not written (its expectations do not apply; a case may expect
nwrfcsim's journal with nwjournal / nwjournal_exact instead). A case that
depends on the classic library itself is left out, by these rules:

1. it names another library than the simulator (library = ...) or lays out
   libraries of the build ([libraries]);
2. its scenario forces a classic library fault or an RfcLastError text
   (fault.*, lasterror.*), which belong to the classic interface;
3. a profile of it logs on to R/2 (Mode R/2), which the NetWeaver library
   does not offer;
4. it forces a return code the NetWeaver interface cannot produce: at
   RfcReceive one other than 0 to 3, at RfcCall one other than 0 and 1
   (there the adapter fails only because a function module cannot be looked
   up);
5. it forces a failure whose trace lines hold no line "ERROR" + 7 blanks, or
   more than the 511 characters of a NetWeaver error message: the adapter
   writes such a message's lines after "ERROR" and 7 blanks, so the trace
   hint differs;
6. it logs on through a destination file SapRfc.<D> that has no line DEST=<D>
   for its destination D, so that the adapter finds no destination in it,
   and expects the logon to succeed (its output holds no Error 1011);

and the cases of nwrfc_left_out.txt, each with its reason. The chain's own
cases (nwcases/) are written for it and always run.
"""

import re
from pathlib import Path

LIBRARIES = {"adapter", "nwrfcsim", "nwlacking"}   # run_case.py --library NAME=LIB
CASE_KEYS = {"nwlibrary"}   # "nwrfcsim" (default), "nwlacking", or SPACEWARDEN_NWRFC_LIBRARY as written
EXPECT_KEYS = {"nwjournal", "nwjournal_exact"}
JOURNAL = "nwjournal.txt"
# Through two libraries, a case of 100,000 rows reads a million fields one call
# each; the sanitizer build on a busy machine needs more than the runner's 10 s.
TIMEOUT_SECONDS = 20
LEFT_OUT_FILE = Path(__file__).resolve().parent / "nwrfc_left_out.txt"
ERROR_COLUMN = "ERROR" + " " * 7
MESSAGE_ROOM = 511


def environment(case, host, scratch, keep):
    """The chain's environment: the adapter as the RFC library, nwrfcsim behind it. nwrfcsim's
    journal (one line per call, every field of every row) is written when the case expects it or
    the scratch directory is kept."""
    env = {}
    if keep or EXPECT_KEYS & set(case["expect"]):
        env["NWRFCSIM_JOURNAL"] = host.name_of(scratch / JOURNAL)
    if case.get("library", "rfcsim") == "rfcsim":
        env["SPACEWARDEN_RFC_LIBRARY"] = host.name_of(host.tools["adapter"])
    name = case.get("nwlibrary", "nwrfcsim")
    env["SPACEWARDEN_NWRFC_LIBRARY"] = host.name_of(host.tools[name]) if name in ("nwrfcsim", "nwlacking") else name
    return env


def scenario_entries(text):
    """(section, key, value) of every setting of a scenario text."""
    section = "global"
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            section = line.strip("[]").strip()
            continue
        key, _, value = line.partition("=")
        value = value.strip()
        if len(value) >= 2 and value[0] == value[-1] == '"':
            value = value[1:-1]
        yield section, key.strip(), value


def outcome_rule(case):
    """Rules 4 and 5: a forced outcome the chain cannot give alike."""
    outcomes = {}
    for section, key, value in scenario_entries(case.get("scenario", "")):
        match = re.fullmatch(r"outcome\.(\w+?)(\.at|\.trace)?", key)
        if not match:
            continue
        outcome = outcomes.setdefault((section, match.group(1)), {"code": 0, "at": "receive", "trace": []})
        if match.group(2) == ".at":
            outcome["at"] = value
        elif match.group(2) == ".trace":
            outcome["trace"].append(value)
        else:
            outcome["code"] = int(value.split()[0])
    for (section, function), outcome in sorted(outcomes.items()):
        code, at, trace = outcome["code"], outcome["at"], outcome["trace"]
        where = f"{function} of [{section}]"
        if at == "receive" and code not in (0, 1, 2, 3):
            return f"rule 4: {where} returns {code} at RfcReceive, which the NetWeaver interface cannot produce"
        if at == "call" and code not in (0, 1):
            return f"rule 4: {where} returns {code} at RfcCall, where the adapter returns only 1"
        if code != 0 and trace and not any(line.startswith(ERROR_COLUMN) for line in trace):
            return f"rule 5: {where} fails with trace lines of which none is an ERROR line"
        if code != 0 and len("\n".join(trace)) > MESSAGE_ROOM:
            return f"rule 5: {where} fails with trace lines longer than a NetWeaver error message"
    return None


def destinations(case):
    """The Destination entries of the case's profiles."""
    found = set()
    for content in case.get("files", {}).values():
        for line in content.splitlines():
            if line.startswith("Destination: "):
                found.add(line[len("Destination: "):].rstrip("\r").upper())
    return found


def destination_file_rule(case):
    """Rule 6."""
    if "Error 1011" in case["expect"]["stdout"]:
        return None
    wanted = destinations(case)
    for key, content in case.get("files", {}).items():
        name = key.replace("/", "\\").split("\\")[-1]
        if not name.lower().startswith("saprfc.") or name.lower() == "saprfc.ini":
            continue
        destination = name[len("saprfc."):].upper()
        if destination not in wanted:
            continue
        lines = {line.strip().replace(" ", "").upper() for line in content.replace("\r", "").split("\n")}
        if "DEST=" + destination not in lines:
            return f"rule 6: its destination file {name} has no line DEST={destination}"
    return None


def listed():
    """Cases of nwrfc_left_out.txt: 'group/name  reason' lines; # starts a comment."""
    entries = {}
    for line in LEFT_OUT_FILE.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line and not line.startswith("#"):
            name, _, reason = line.partition(" ")
            entries[name] = reason.strip()
    return entries


def left_out(case, path):
    """Why a case of cases/ is left out of the chain, or None; the chain's own cases (nwcases/) all run."""
    if Path(path).resolve().parent.parent.name == "nwcases":
        return None
    if case.get("library", "rfcsim") != "rfcsim" or "libraries" in case:
        return "not for the NetWeaver chain, rule 1: it loads another library than the simulator"
    for _, key, _ in scenario_entries(case.get("scenario", "")):
        if key.startswith(("fault.", "lasterror.")):
            return f"not for the NetWeaver chain, rule 2: its scenario sets {key} of the classic library"
    for content in case.get("files", {}).values():
        if any(line.rstrip("\r") == "Mode.......: R/2" for line in content.split("\n")):
            return "not for the NetWeaver chain, rule 3: a profile logs on to R/2"
    reason = outcome_rule(case) or destination_file_rule(case)
    if reason:
        return "not for the NetWeaver chain, " + reason
    name = f"{Path(path).parent.name}/{Path(path).stem}"
    reason = listed().get(name)
    return f"not for the NetWeaver chain: {reason}" if reason else None

"""The examples a page marks for the tests: a line '<!-- example: NAME -->'
right before a fenced block. The tests take them as the page shows them and
substitute only paths and ports, so a page cannot drift from what is tested.
"""

import re
from pathlib import Path

MARK = re.compile(r"^<!-- example: ([a-z0-9-]+) -->\n```[a-z]*\n(.*?)^```$", re.MULTILINE | re.DOTALL)


def examples(page):
    """Every marked example of the page, by name."""
    found = {}
    for name, text in MARK.findall(Path(page).read_text(encoding="utf-8")):
        if name in found:
            raise ValueError(f"{page}: the example {name} is marked twice")
        found[name] = text
    return found


def example(page, name):
    found = examples(page)
    if name not in found:
        raise ValueError(f"{page}: no example marked '<!-- example: {name} -->' before a fenced block")
    return found[name]


def substituted(text, substitutions):
    """The text with each (shown, used) pair replaced; a pair the text lacks is a fault of the page."""
    for shown, used in substitutions:
        if shown not in text:
            raise ValueError(f"the example no longer holds {shown!r}: {text!r}")
        text = text.replace(shown, used)
    return text

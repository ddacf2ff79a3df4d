#!/usr/bin/env python3
"""Checks what decides whether a Windows build works on a host, from the
binaries alone (with mingw-w64's objdump and nm):

    check_binaries.py x86 build/windows-x86     the 32-bit build
    check_binaries.py x64 build/windows         the 64-bit build

Both builds: SpaceWarden.exe, SpaceWardenProfile.exe and rfcsim.dll import
only KERNEL32.dll and msvcrt.dll, and rfcsim.dll exports exactly the twelve
operations under their plain names.

The 32-bit build also: the library's operations and its error handler use
__stdcall, in which the called function removes its arguments from the stack.

- Every exported operation of rfcsim.dll returns with "ret $N", N the bytes of
  its arguments; a plain "ret" (the caller removes them) fails.
- Every call that SpaceWarden.exe makes through the loaded library's record
  (Rfc in src/rfc/RfcContext.h, which opens with the twelve pointers, 4 bytes each) is followed by
  "sub $N,%esp". The compiler stores the arguments into space it reserved
  beforehand rather than pushing them; after a function that removed its
  arguments it reserves those N bytes again (possibly a few instructions on,
  and 4 bytes also with a "push" of a register; an unconditional jump within the
  function is followed). After a function whose caller
  removes them nothing follows, or "add $N,%esp" had it pushed them: both fail.
  The call sites are found from the record's address (nm): a "call *ADDR" with
  ADDR one of its members, or a "call *%reg" whose register was last loaded
  from one in the same block. A load that feeds no such call, and any use of
  the record other than these, its filling and tests for a null pointer, fails,
  so no call through the record goes unchecked. Each of the twelve operations
  must have at least one call site: the counts printed show what was found.
  The sensor's error handler must carry the decorated name of a __stdcall
  function of 4 bytes of arguments (_ReportRfcFailureHandler@4).
"""

import re
import subprocess
import sys
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent.parent
IMPORTS = {"kernel32.dll", "msvcrt.dll"}
# The twelve operations and the bytes of their arguments (src/rfc/RfcInterface.h).
OPERATIONS = {"RfcEnvironment": 4, "RfcOpen": 4, "RfcOpenEx": 8, "RfcInstallStructure": 16, "RfcCall": 16,
              "RfcReceive": 16, "ItCreate": 16, "ItFill": 4, "ItGetLine": 8, "ItDelete": 4, "RfcLastError": 4,
              "RfcClose": 4}
TOOLS = {"x86": "i686-w64-mingw32-", "x64": "x86_64-w64-mingw32-"}
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(.*\S)\s*$")
LABEL = re.compile(r"^([0-9a-f]+) <(.+)>:$")


def tool(arch, name, *arguments):
    return subprocess.run([TOOLS[arch] + name, *arguments], check=True, capture_output=True, text=True).stdout


# --- tables of the PE headers ----------------------------------------------------------------------

def imported_dlls(arch, binary):
    return re.findall(r"DLL Name: (\S+)", tool(arch, "objdump", "-p", binary))


def exports(arch, binary):
    """{name: address} of the exported functions."""
    headers = tool(arch, "objdump", "-p", binary)
    base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    rvas = {int(i): int(rva, 16) for i, rva in re.findall(r"\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA",
                                                          headers)}
    names = headers.split("[Ordinal/Name Pointer] Table", 1)[1] if "[Ordinal/Name Pointer] Table" in headers else ""
    return {name: base + rvas[int(i)] for i, name in re.findall(r"^\s+\[\s*(\d+)\] (\S+)$", names, re.M)}


def check_tables(arch, build):
    problems = []
    for binary in ("SpaceWarden.exe", "SpaceWardenProfile.exe", "rfcsim/rfcsim.dll"):
        dlls = imported_dlls(arch, build / binary)
        if {dll.lower() for dll in dlls} != IMPORTS:
            problems.append(f"{binary} imports {dlls}, expected only KERNEL32.dll and msvcrt.dll")
    names = sorted(exports(arch, build / "rfcsim/rfcsim.dll"))
    if names != sorted(OPERATIONS):
        problems.append(f"rfcsim.dll exports {names}, expected exactly {sorted(OPERATIONS)}")
    return problems


# --- the disassembly ---------------------------------------------------------------------------------

def disassembly(binary):
    """{label: [(address, instruction)]}, the blocks between the symbols."""
    blocks, current = {}, None
    for line in tool("x86", "objdump", "-d", "--no-show-raw-insn", binary).splitlines():
        if match := LABEL.match(line):
            current = blocks.setdefault(match.group(2), [])
        elif (match := INSTRUCTION.match(line)) and current is not None:
            current.append((int(match.group(1), 16), re.sub(r"\s+", " ", match.group(2))))
    return blocks


def symbol(binary, name):
    for line in tool("x86", "nm", binary).splitlines():
        address, _, found = line.split(" ", 2)
        if found == name:
            return int(address, 16)
    raise SystemExit(f"check_binaries: {binary} has no symbol {name}")


def check_returns(build):
    """rfcsim.dll's operations return with ret $N."""
    dll = build / "rfcsim/rfcsim.dll"
    blocks = disassembly(dll)
    starts = {symbol_address: label for label, code in blocks.items() for symbol_address, _ in code[:1]}
    problems = []
    for name, address in exports("x86", dll).items():
        label = starts[address]
        code = blocks[label] + blocks.get(label + ".cold", [])
        returns = [(at, text) for at, text in code if text.split(" ")[0] == "ret"]
        wanted = f"ret ${OPERATIONS[name]:#x}"
        wrong = [f"{at:x}: {text}" for at, text in returns if text != wanted]
        print(f"  rfcsim.dll {name}: {len(returns)} returns, {len(returns) - len(wrong)} of them {wanted}")
        if not returns or wrong:
            problems.append(f"rfcsim.dll {name} ({label}) must return with {wanted}: {wrong or 'no ret found'}")
    return problems


def reservation(code, start):
    """What the code from code[start] on does first to the stack pointer, as "sub $N,%esp":
    the compiler may place other instructions before it, and reserves 4 bytes
    also with a push of a register; an unconditional jump within the function is
    followed (the compiler shares the code after a call between paths); the first
    other use of %esp, or the end of the block, stands for itself."""
    addresses = {at: index for index, (at, _) in enumerate(code)}
    pushed, position, steps = 0, start, 0
    while position < len(code) and steps < 64:
        text = code[position][1]
        steps += 1
        if text.startswith("push "):
            pushed += 4
            position += 1
            continue
        if pushed:
            return f"sub ${pushed:#x},%esp"
        jump = re.fullmatch(r"jmp ([0-9a-f]+)(?: <[^>]*>)?", text)
        if jump and int(jump.group(1), 16) in addresses:
            position = addresses[int(jump.group(1), 16)]
            continue
        if "%esp" in text or text.split(" ")[0] in ("call", "ret", "leave") or text.startswith("j"):
            return text
        position += 1
    return f"sub ${pushed:#x},%esp" if pushed else "(end of the block)"


def calls_through(blocks, record, sizes):
    """Checks the calls through the pointers at record + 4 * i, of sizes[i] argument bytes.
    Returns ({i: [evidence]}, problems)."""
    def member(value):
        index, offset = divmod(value - record, 4)
        return index if 0 <= index < len(sizes) and offset == 0 else None

    found, problems, loads = {}, [], {}
    for label, code in blocks.items():
        for position, (at, text) in enumerate(code):
            mnemonic, _, operands = text.partition(" ")
            index = None
            if mnemonic == "call" and (register := re.fullmatch(r"\*(%e[a-z]{2})", operands)):
                # The register's last writer before the call, within the block.
                for before in range(position - 1, max(-1, position - 16), -1):
                    earlier = code[before][1]
                    if earlier.startswith("call"):
                        break
                    if earlier.endswith("," + register.group(1)) and earlier.split(" ")[0] not in ("test", "cmp"):
                        if (label, before) in loads:
                            index = loads.pop((label, before))
                        break
            for hexadecimal in re.findall(r"\$?0x[0-9a-f]+", operands):
                value = int(hexadecimal.lstrip("$"), 16)
                if not record <= value < record + 4 * len(sizes):
                    continue
                if mnemonic == "call" and operands == "*" + hexadecimal and member(value) is not None:
                    index = member(value)
                elif mnemonic == "mov" and re.fullmatch(hexadecimal + r",%e[a-z]{2}", operands) and member(value) is not None:
                    loads[(label, position)] = member(value)  # its call is checked where it is made
                elif mnemonic in ("mov", "movl") and operands.endswith("," + hexadecimal) and not hexadecimal.startswith("$"):
                    pass  # a store: the record being filled (or emptied, as the process starts)
                elif mnemonic in ("cmp", "cmpl", "test") and not hexadecimal.startswith("$"):
                    pass  # a test for a null pointer
                else:
                    problems.append(f"{at:x} ({label}): {text}: a use of the record this check does not follow")
            if index is None:
                continue
            after = reservation(code, position + 1)
            wanted = f"sub ${sizes[index]:#x},%esp"
            if after != wanted:
                problems.append(f"{at:x} ({label}): {text} is followed by '{after}', not '{wanted}'")
            found.setdefault(index, []).append(f"{at:x}: {text} / {after}")
    for (label, position), index in loads.items():
        at, text = blocks[label][position]
        problems.append(f"{at:x} ({label}): {text}: a load of the record not followed by a call through it")
    return found, problems


def check_calls(build):
    sensor = build / "SpaceWarden.exe"
    # The operations open the library's context (its first base), so the record starts at _Rfc.
    header = (SOURCE / "src/rfc/RfcContext.h").read_text()
    record = re.search(r"struct RfcOperations \{(.*?)\};", header, re.S).group(1)
    members = re.findall(r"(\w+)_t \1 = nullptr;", record)
    if sorted(members) != sorted(OPERATIONS):
        return [f"RfcOperations holds {members}, expected the twelve operations"]
    found, problems = calls_through(disassembly(sensor), symbol(sensor, "_Rfc"), [OPERATIONS[m] for m in members])
    for index, name in enumerate(members):
        sites = found.get(index, [])
        print(f"  SpaceWarden.exe {name}: {len(sites)} call sites" + (f", e.g. {sites[0]}" if sites else ""))
        if not sites:
            problems.append(f"SpaceWarden.exe: no call of {name} found through the record")
    symbols = tool("x86", "nm", sensor)
    if not re.search(r" T _ReportRfcFailureHandler@4$", symbols, re.M):
        problems.append("SpaceWarden.exe: the error handler is not _ReportRfcFailureHandler@4 (__stdcall)")

    return problems


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in TOOLS:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    arch, build = sys.argv[1], Path(sys.argv[2])
    problems = check_tables(arch, build)
    if arch == "x86":
        problems += check_returns(build) + check_calls(build)
    for problem in problems:
        print(f"check_binaries: {problem}")
    what = "imports and exports" + (", __stdcall returns and call sites" if arch == "x86" else "")
    print(f"check_binaries: {build} ({arch}): {what} " + ("FAILED" if problems else "as they must be"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

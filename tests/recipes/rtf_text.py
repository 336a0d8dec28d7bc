#!/usr/bin/env python3
"""Reads an RTF document the way a word processor's text import does and prints its
plain text (UTF-8): one line per paragraph, \\'hh bytes decoded in the document's
ANSI code page, \\uN characters with their fallback skipped, destinations such as the
font table left out. Written apart from the program's RTF writer, to check it."""
import re
import sys

def rtf_to_text(data: bytes) -> str:
    codepage = 'cp1252'
    m = re.search(rb'\\ansicpg(\d+)', data)
    if m:
        codepage = 'cp' + m.group(1).decode()
    out = []
    pending = bytearray()
    def flush():
        if pending:
            out.append(pending.decode(codepage))
            pending.clear()
    stack = []
    skip = False
    uc = 1
    skip_chars = 0
    i = 0
    n = len(data)
    while i < n:
        c = data[i:i + 1]
        if c == b'{':
            stack.append((skip, uc))
            i += 1
            if data[i:i + 2] == b'\\*':
                skip = True
            continue
        if c == b'}':
            flush()
            skip, uc = stack.pop()
            i += 1
            continue
        if c == b'\\':
            nxt = data[i + 1:i + 2]
            if nxt in (b'\\', b'{', b'}'):
                if skip_chars:
                    skip_chars -= 1
                elif not skip:
                    pending.extend(nxt)
                i += 2
                continue
            if nxt == b"'":
                byte = int(data[i + 2:i + 4], 16)
                i += 4
                if skip_chars:
                    skip_chars -= 1
                elif not skip:
                    pending.append(byte)
                continue
            m = re.match(rb'\\([a-zA-Z]+)(-?\d+)? ?', data[i:])
            if not m:
                i += 2
                continue
            word = m.group(1).decode()
            arg = int(m.group(2)) if m.group(2) is not None else None
            i += m.end()
            if word in ('fonttbl', 'colortbl', 'stylesheet', 'info', 'pict'):
                skip = True
            if skip:
                continue
            if word == 'par':
                flush()
                out.append('\n')
            elif word == 'tab':
                flush()
                out.append('\t')
            elif word == 'uc':
                uc = arg
            elif word == 'u':
                flush()
                code = arg if arg >= 0 else arg + 65536
                out.append(chr(code))
                skip_chars = uc
            continue
        if c in (b'\r', b'\n'):
            i += 1
            continue
        if skip_chars:
            skip_chars -= 1
        elif not skip:
            pending.extend(c)
        i += 1
    flush()
    text = ''.join(out)
    # Characters beyond the BMP arrive as two \\u surrogates.
    return text.encode('utf-16', 'surrogatepass').decode('utf-16')

if __name__ == '__main__':
    with open(sys.argv[1], 'rb') as f:
        sys.stdout.buffer.write(rtf_to_text(f.read()).encode('utf-8'))

#!/usr/bin/env python3
"""Collects the XML files found under some folders into one folder, as UTF-8, rewritten into
what the skin parser takes, for bench_markup to parse side by side with pugixml.

    xml_corpus.py OUT_DIR [FOLDER ...]      (default folder: /usr)

The rewriting keeps every element, attribute and text it can and changes only what the skin
parser does not read: the document type and its internal subset are dropped, CDATA sections
become escaped text, single-quoted attribute values become double-quoted, characters of
element and attribute names other than letters, digits, "_" and ":" become "_", text that
follows a child element (mixed content) is dropped, and so are comments that hold "->" before
their end. Files that cannot be decoded or tokenized are left out.
"""
import codecs
import os
import re
import sys

TOKEN = re.compile(
    r'(?P<comment><!--.*?-->)'
    r'|(?P<cdata><!\[CDATA\[(?P<cdatatext>.*?)\]\]>)'
    r'|(?P<doctype><!DOCTYPE[^\[>]*(?:\[.*?\]\s*)?>)'
    r'|(?P<pi><\?.*?\?>)'
    r'|(?P<end></\s*(?P<endname>[^\s>]+)\s*>)'
    r'|(?P<start><(?P<name>[^\s/>!?]+)(?P<attrs>(?:\s+[^\s=/>]+\s*=\s*(?:"[^"]*"|\'[^\']*\'))*)\s*(?P<empty>/?)>)'
    r'|(?P<text>[^<]+)',
    re.S)
ATTRIBUTE = re.compile(r'([^\s=/>]+)\s*=\s*(?:"([^"]*)"|\'([^\']*)\')')
DECLARED = re.compile(rb'^<\?xml[^>]*encoding\s*=\s*["\']([A-Za-z0-9._-]+)["\']')


def name(s):
    return ''.join(c if c in '_:' or c.isalnum() else '_' for c in s)


def decode(raw):
    if raw.startswith(codecs.BOM_UTF8):
        return raw[3:].decode('utf-8')
    if raw.startswith(codecs.BOM_UTF16_LE) or raw.startswith(codecs.BOM_UTF16_BE):
        return raw.decode('utf-16')
    declared = DECLARED.match(raw)
    return raw.decode(declared.group(1).decode('ascii') if declared else 'utf-8')


def rewrite(text):
    out = []
    pos = 0
    # One flag per open element: whether a child of it has been seen, after which text is mixed
    # content. Outside the root only whitespace is kept.
    open_elements = [True]
    while pos < len(text):
        m = TOKEN.match(text, pos)
        if m is None:
            return None
        pos = m.end()
        if m.group('comment'):
            comment = m.group('comment')
            if comment.find('->', 2) == len(comment) - 2:
                out.append(comment)
        elif m.group('cdata') is not None:
            if not open_elements[-1]:
                out.append(m.group('cdatatext').replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;'))
        elif m.group('doctype'):
            pass
        elif m.group('pi'):
            out.append(m.group('pi'))
        elif m.group('end'):
            if len(open_elements) < 2:
                return None
            open_elements.pop()
            open_elements[-1] = True
            out.append('</%s>' % name(m.group('endname')))
        elif m.group('start'):
            attrs = ''.join(' %s="%s"' % (name(a.group(1)), a.group(2) if a.group(3) is None else
                                          a.group(3).replace('"', '&quot;'))
                            for a in ATTRIBUTE.finditer(m.group('attrs')))
            if m.group('empty'):
                open_elements[-1] = True
                out.append('<%s%s/>' % (name(m.group('name')), attrs))
            else:
                open_elements.append(False)
                out.append('<%s%s>' % (name(m.group('name')), attrs))
        else:
            chunk = m.group('text')
            if not open_elements[-1] or chunk.isspace():
                out.append(chunk)
    return ''.join(out) if len(open_elements) == 1 else None


def main():
    out_dir = sys.argv[1]
    folders = sys.argv[2:] or ['/usr']
    os.makedirs(out_dir, exist_ok=True)
    taken = 0
    for folder in folders:
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for f in sorted(files):
                if not f.endswith('.xml'):
                    continue
                path = os.path.join(root, f)
                try:
                    with open(path, 'rb') as stream:
                        text = rewrite(decode(stream.read()))
                except (OSError, UnicodeError, LookupError):
                    continue
                if not text or '<' not in text:
                    continue
                taken += 1
                with open(os.path.join(out_dir, '%05d.xml' % taken), 'w', encoding='utf-8', newline='') as stream:
                    stream.write(text)
    print('xml_corpus: %d files from %s in %s' % (taken, ' '.join(folders), out_dir))


if __name__ == '__main__':
    main()

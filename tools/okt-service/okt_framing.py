"""Cuts the incoming byte stream into request pointers.

The client sends each pointer as bare UTF-8 text, with no length prefix and no terminator, and
TCP may deliver it in pieces. A pointer therefore ends where its first top-level element ends:
an empty-element tag "<request .../>" or the end tag that closes it. The scan keeps its state
between reads, so every byte is looked at once however the text is split.

The client sends nothing between pointers. Blanks, line ends and NUL bytes found there stay with
the pointer they surround (those before it, and those that follow it in the bytes received so far),
so that the pointer is refused for them rather than silently served.
"""

_BLANKS = b" \t\r\n\0"

_TEXT, _START_TAG, _END_TAG, _SKIP = range(4)

# Markup whose content is skipped up to its closing text: (opening, closing).
_SKIPPED_MARKUP = ((b"<?", b"?>"), (b"<!--", b"-->"), (b"<![CDATA[", b"]]>"), (b"<!", b">"))
_LONGEST_OPENING = max(len(opening) for opening, _ in _SKIPPED_MARKUP)

DEFAULT_LIMIT = 64 * 1024
# Stray bytes kept to show in a refusal; more are counted, not kept.
_STRAY_KEPT = 64


class PointerFramer:
    """Collects bytes and hands out one complete pointer text at a time."""

    def __init__(self, limit=DEFAULT_LIMIT):
        self.limit = limit
        self.overflowed = False
        self._buffer = bytearray()
        self._stray = bytearray()
        self.stray_count = 0   # stray bytes held for the next pointer
        self._reset_scan()

    def _reset_scan(self):
        self._pos = 0          # next byte to look at
        self._start = -1       # first byte of the pointer being collected, -1 before it starts
        self._depth = 0        # open elements
        self._mode = _TEXT
        self._quote = 0        # quote byte while inside an attribute value
        self._closing = b""    # what ends the skipped markup

    @property
    def pending(self):
        """Number of bytes of a pointer that has started but not ended."""
        return 0 if self._start < 0 else len(self._buffer) - self._start

    def take_pending(self):
        """Removes and returns the unfinished pointer (after a time-out or an overflow)."""
        data = bytes(self._buffer[self._start:]) if self._start >= 0 else b""
        self._buffer.clear()
        self._stray.clear()
        self.stray_count = 0
        self._reset_scan()
        return data

    def feed(self, data):
        """Adds received bytes; returns the list of pointers completed by them, in order."""
        self._buffer += data
        pointers = []
        while True:
            pointer = self._scan()
            if pointer is None:
                break
            pointers.append(pointer)
        if self._start < 0:
            # Only blanks are held (kept aside for the next pointer): drop them from the buffer.
            del self._buffer[:self._pos]
            self._pos = 0
        elif self.pending > self.limit:
            self.overflowed = True
        return pointers

    def _scan(self):
        buffer = self._buffer
        size = len(buffer)
        while self._pos < size:
            if self._mode == _SKIP:
                end = buffer.find(self._closing, self._pos)
                if end < 0:
                    self._pos = max(self._pos, size - len(self._closing) + 1)
                    return None
                self._pos = end + len(self._closing)
                self._mode = _TEXT
                continue
            byte = buffer[self._pos]
            if self._mode == _TEXT:
                if self._start < 0:
                    if byte in _BLANKS:
                        self._hold_stray(byte)
                        self._pos += 1
                        continue
                    self._start = self._pos
                if byte != 0x3C:  # "<"
                    self._pos += 1
                    continue
                if not self._enter_markup():
                    return None  # not enough bytes yet to tell which markup this is
                continue
            if self._quote:
                if byte == self._quote:
                    self._quote = 0
                self._pos += 1
                continue
            if byte in b"'\"" and self._mode == _START_TAG:
                self._quote = byte
                self._pos += 1
                continue
            if byte != 0x3E:  # ">"
                self._pos += 1
                continue
            empty_element = self._mode == _START_TAG and buffer[self._pos - 1] == 0x2F  # "/"
            if self._mode == _START_TAG and not empty_element:
                self._depth += 1
            elif self._mode == _END_TAG:
                self._depth -= 1
            self._pos += 1
            self._mode = _TEXT
            if self._depth <= 0:
                return self._cut()
        return None

    def _enter_markup(self):
        buffer = self._buffer
        rest = bytes(buffer[self._pos:self._pos + _LONGEST_OPENING])
        for opening, closing in _SKIPPED_MARKUP:
            if rest.startswith(opening):
                self._mode = _SKIP
                self._closing = closing
                self._pos += len(opening)
                return True
            if opening.startswith(rest) and len(rest) < len(opening) and opening != b"<!":
                return False
        if len(rest) < 2:
            return False
        if rest.startswith(b"</"):
            self._mode = _END_TAG
            self._pos += 2
        else:
            self._mode = _START_TAG
            self._pos += 1
        return True

    def _hold_stray(self, byte):
        self.stray_count += 1
        if len(self._stray) < _STRAY_KEPT:
            self._stray.append(byte)

    def _cut(self):
        """The pointer with the stray bytes held before it and those right after it."""
        end = self._pos
        while end < len(self._buffer) and self._buffer[end] in _BLANKS:
            end += 1
        pointer = bytes(self._stray) + bytes(self._buffer[self._start:end])
        self._stray.clear()
        self.stray_count = 0
        del self._buffer[:end]
        self._reset_scan()
        return pointer

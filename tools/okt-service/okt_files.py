"""Files that the service writes where others write too: each appears whole or not at all."""

import os
import tempfile


def replace_file(path, data):
    """Writes data (bytes) to path through a new temporary file in the same folder.

    The temporary file gets a fresh name and is created exclusively, so that nothing planted in
    the folder (a link, a file of a guessed name) is followed or overwritten; the final rename
    replaces a link at path itself, never its target.
    """
    folder, name = os.path.split(path)
    handle, temporary = tempfile.mkstemp(prefix=".%s." % name, suffix=".tmp", dir=folder or ".")
    try:
        with os.fdopen(handle, "wb") as stream:
            stream.write(data)
        os.replace(temporary, path)
    except BaseException:
        try:
            os.remove(temporary)
        except OSError:
            pass
        raise
    return path

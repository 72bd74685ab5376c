"""The vault's file store: contents named by their SHA-256, each written once and whole.

    FOLDER/XX/SHA256   a content, named by its hash in hexadecimal (XX: the first two digits)
    FOLDER/tmp/        contents being written; a content is renamed to its hash once complete
"""

import hashlib
import os
import secrets

STAGING_NAME = "tmp"
CHUNK = 1 << 16


class StoreError(Exception):
    """A content that is missing or no longer matches its hash."""


class ContentStore:
    def __init__(self, folder):
        self.folder = folder
        self.staging = os.path.join(folder, STAGING_NAME)
        os.makedirs(self.staging, exist_ok=True)

    def path(self, sha256):
        return os.path.join(self.folder, sha256[:2], sha256)

    def put(self, data):
        """Stores data (bytes) under its hash unless there already; returns (sha256, size, whether
        it was written now)."""
        sha = hashlib.sha256(data).hexdigest()
        path = self.path(sha)
        if os.path.exists(path):
            return sha, len(data), False
        temporary = os.path.join(self.staging, secrets.token_hex(8) + ".tmp")
        descriptor = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_EXCL | os.O_CLOEXEC, 0o644)
        try:
            with os.fdopen(descriptor, "wb") as stream:
                stream.write(data)
                stream.flush()
                os.fsync(stream.fileno())
            os.makedirs(os.path.dirname(path), exist_ok=True)
            os.replace(temporary, path)
        except BaseException:
            _remove(temporary)
            raise
        _fsync_folder(os.path.dirname(path))
        return sha, len(data), True

    def copy(self, sha256, stream):
        """Writes a content into stream, checking it against its hash on the way."""
        digest = hashlib.sha256()
        try:
            with open(self.path(sha256), "rb") as source:
                for chunk in iter(lambda: source.read(CHUNK), b""):
                    digest.update(chunk)
                    stream.write(chunk)
        except FileNotFoundError:
            raise StoreError("the stored content %s is missing" % sha256) from None
        if digest.hexdigest() != sha256:
            raise StoreError("the stored content %s is damaged" % sha256)

    def damaged(self, sha256, size):
        """Whether the content is missing or differs from its hash or size."""
        try:
            with open(self.path(sha256), "rb") as stream:
                data = stream.read()
        except FileNotFoundError:
            return True
        return len(data) != size or hashlib.sha256(data).hexdigest() != sha256

    def contents(self):
        """The hashes of all complete contents."""
        found = []
        for entry in os.scandir(self.folder):
            if entry.is_dir(follow_symlinks=False) and entry.name != STAGING_NAME:
                found += [content.name for content in os.scandir(entry.path)]
        return found

    def unfinished(self):
        return sorted(entry.name for entry in os.scandir(self.staging))

    def remove(self, sha256s):
        for sha in sha256s:
            _remove(self.path(sha))

    def clear_staging(self):
        for name in self.unfinished():
            _remove(os.path.join(self.staging, name))


def _remove(path):
    try:
        os.remove(path)
    except FileNotFoundError:
        pass


def _fsync_folder(path):
    descriptor = os.open(path, os.O_RDONLY | os.O_DIRECTORY)
    try:
        os.fsync(descriptor)
    finally:
        os.close(descriptor)

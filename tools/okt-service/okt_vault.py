"""The vault: designs with their versions, files, attributes and relationships.

Layout of a vault folder:
    vault.sqlite          the database (schema below)
    vault.lock            held by the one process that writes to the store at a time
    store/                file contents, named by their SHA-256 (see okt_store)

Several services (one per user) may have one vault open at once. A write holds the lock file while
it puts every new content into the store (a temporary file, renamed to its hash once complete) and
commits all its rows in one transaction. A process that dies before the commit leaves only store
files that no row names; the next one to open the vault removes them, under the same lock, so never
while another write is on its way. So the vault is always as before a write or as after it.
Changes of locks and attributes are single transactions of the database, which lets one process
at a time change it.
"""

import contextlib
import fcntl
import os
import re
import sqlite3
import time

import okt_store
import okt_xml

DATABASE_NAME = "vault.sqlite"
LOCK_NAME = "vault.lock"
STORE_NAME = "store"
SCHEMA_VERSION = 2
# Test hooks, honoured only when TEST_HOOKS_VARIABLE is "1" (a vault refuses to open when a hook is
# set without it): end the process at a write step ("stored", "inserted", "committed"), or write
# "paused at STEP" to standard error there and wait to be killed.
TEST_HOOKS_VARIABLE = "OKT_TEST_HOOKS"
EXIT_AT_VARIABLE = "OKT_VAULT_EXIT_AT"
PAUSE_AT_VARIABLE = "OKT_VAULT_PAUSE_AT"
EXIT_AT_STATUS = 70
# How long a process waits for another one's transaction.
BUSY_TIMEOUT = 60.0
# Placeholders per "IN (...)" query, below SQLite's limit.
BATCH = 500

# A file name of the store's designs: what a checkout may create inside the folder it is given,
# and what a response can list ("|" separates the formats of one design there).
_UNSAFE_FILE_NAME = re.compile(r"[/\\|:\x00-\x1f\x7f]")
_SQL_PLAIN_FILE_NAME = (
    "length(name) > 0 AND name NOT IN ('.', '..') AND name NOT GLOB ('*[/\\|:' || char(1) || '-'"
    " || char(31) || char(127) || ']*') AND instr(name, char(0)) = 0")
_SQL_NAME = "length(trim({0})) > 0 AND {0} NOT GLOB ('*[' || char(1) || '-' || char(31) || ']*')"

SCHEMA = """
CREATE TABLE design (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL CHECK ({name}),
    revision TEXT NOT NULL CHECK ({revision}),
    cad_type TEXT NOT NULL CHECK ({cad_type}),
    server_type TEXT NOT NULL CHECK ({server_type}),
    locked_by TEXT CHECK (locked_by IS NULL OR ({locked_by})),
    UNIQUE (name, revision)
);
CREATE TABLE version (
    id INTEGER PRIMARY KEY,
    design_id INTEGER NOT NULL REFERENCES design (id),
    number INTEGER NOT NULL CHECK (typeof(number) = 'integer' AND number >= 1),
    created_by TEXT NOT NULL,
    created_at TEXT NOT NULL,
    UNIQUE (design_id, number)
);
CREATE TABLE blob (
    sha256 TEXT PRIMARY KEY CHECK (length(sha256) = 64 AND sha256 NOT GLOB '*[^0-9a-f]*'),
    size INTEGER NOT NULL CHECK (typeof(size) = 'integer' AND size >= 0)
);
CREATE TABLE file (
    version_id INTEGER NOT NULL REFERENCES version (id),
    position INTEGER NOT NULL CHECK (position >= 1),
    name TEXT NOT NULL CHECK ({file_name}),
    blob TEXT NOT NULL REFERENCES blob (sha256),
    PRIMARY KEY (version_id, position),
    UNIQUE (version_id, name)
);
CREATE TABLE attribute (
    version_id INTEGER NOT NULL REFERENCES version (id),
    position INTEGER NOT NULL CHECK (position >= 1),
    name TEXT NOT NULL CHECK (length(name) > 0),
    value TEXT NOT NULL,
    PRIMARY KEY (version_id, position),
    UNIQUE (version_id, name)
);
-- A relationship belongs to its parent version and is written with it; its child is older (a
-- smaller id), so no structure can contain itself.
CREATE TABLE relationship (
    id INTEGER PRIMARY KEY,
    parent_id INTEGER NOT NULL REFERENCES version (id),
    child_id INTEGER NOT NULL REFERENCES version (id),
    position INTEGER NOT NULL CHECK (position >= 1),
    cad_relationship TEXT NOT NULL CHECK (length(cad_relationship) > 0),
    topnode TEXT NOT NULL,
    quantity INTEGER NOT NULL CHECK (typeof(quantity) = 'integer' AND quantity >= 1),
    CHECK (child_id < parent_id),
    UNIQUE (parent_id, position)
);
CREATE INDEX relationship_child ON relationship (child_id);
-- "Quantity" lives in its own column.
CREATE TABLE relationship_attribute (
    relationship_id INTEGER NOT NULL REFERENCES relationship (id),
    position INTEGER NOT NULL CHECK (position >= 1),
    name TEXT NOT NULL CHECK (length(name) > 0 AND name <> 'Quantity'),
    value TEXT NOT NULL,
    PRIMARY KEY (relationship_id, position),
    UNIQUE (relationship_id, name)
);
{local_copy}
PRAGMA user_version = {version};
""".format(name=_SQL_NAME.format("name"), revision=_SQL_NAME.format("revision"),
           cad_type=_SQL_NAME.format("cad_type"), server_type=_SQL_NAME.format("server_type"),
           locked_by=_SQL_NAME.format("locked_by"), file_name=_SQL_PLAIN_FILE_NAME,
           version=SCHEMA_VERSION, local_copy="{local_copy}")

# Added in version 2: where each user's service placed the files of a design (checkout, check-in),
# so that an update check of all of them knows where to look.
LOCAL_COPY = """
CREATE TABLE local_copy (
    user TEXT NOT NULL,
    path TEXT NOT NULL CHECK (substr(path, 1, 1) = '/'),
    design_id INTEGER NOT NULL REFERENCES design (id),
    file_position INTEGER NOT NULL CHECK (file_position >= 1),
    PRIMARY KEY (user, path)
);
"""
SCHEMA = SCHEMA.replace("{local_copy}", LOCAL_COPY)


class VaultError(Exception):
    """A vault that cannot be used, or a write or read that the vault refuses; the text says why."""


def file_name_fault(name):
    """Why name cannot be a file of the vault (a plain name inside one folder), or None."""
    if name in ("", ".", ".."):
        return "is not a file name"
    if _UNSAFE_FILE_NAME.search(name):
        return "holds a path separator, '|', ':' or a control character"
    return None


def _name_fault(text):
    if not text.strip() or re.search(r"[\x00-\x1f]", text):
        return "is blank or holds a control character"
    return None


class NewVersion:
    """A version to write. key names it among the relationships of the same write; files are
    (file name, bytes) pairs in format order; attributes (name, value) pairs in order."""

    def __init__(self, key, name, cad_type, server_type, revision, files, attributes=()):
        self.key = key
        self.name = name
        self.cad_type = cad_type
        self.server_type = server_type
        self.revision = revision
        self.files = list(files)
        self.attributes = list(attributes)


class NewRelationship:
    """A use of child in parent. parent is the key of a NewVersion of the same write; child is such
    a key or the id (int) of a version already in the vault."""

    def __init__(self, parent, child, cad_relationship, topnode="dpt", quantity=1, attributes=()):
        self.parent = parent
        self.child = child
        self.cad_relationship = cad_relationship
        self.topnode = topnode
        self.quantity = quantity
        self.attributes = list(attributes)


class Version:
    """A version as read: its design's data, its files (name, sha256, size) and attributes."""

    def __init__(self, row):
        (self.id, self.number, self.design_id, self.name, self.revision, self.cad_type,
         self.server_type, self.locked_by) = row
        self.files = []
        self.attributes = []


class Relationship:
    def __init__(self, row):
        (self.id, self.parent, self.child, self.position, self.cad_relationship, self.topnode,
         self.quantity) = row
        self.attributes = []


class Snapshot:
    """Versions and everything below them: versions by id, relationships by id, and per parent
    version the ids of its relationships in position order."""

    def __init__(self):
        self.versions = {}
        self.relationships = {}
        self.children = {}


_VERSION_COLUMNS = ("SELECT version.id, version.number, design.id, design.name, design.revision, "
                    "design.cad_type, design.server_type, design.locked_by "
                    "FROM version JOIN design ON design.id = version.design_id ")


def _exit_point(step):
    if os.environ.get(TEST_HOOKS_VARIABLE) != "1":
        return
    if os.environ.get(EXIT_AT_VARIABLE) == step:
        os._exit(EXIT_AT_STATUS)
    if os.environ.get(PAUSE_AT_VARIABLE) == step:
        os.write(2, b"paused at %s\n" % step.encode())
        while True:
            time.sleep(60)


def _check_test_hooks():
    if os.environ.get(TEST_HOOKS_VARIABLE) != "1":
        for name in (EXIT_AT_VARIABLE, PAUSE_AT_VARIABLE):
            if os.environ.get(name):
                raise VaultError("%s is a test hook; it is refused unless %s=1"
                                 % (name, TEST_HOOKS_VARIABLE))


def _batches(items):
    items = list(items)
    for start in range(0, len(items), BATCH):
        chunk = items[start:start + BATCH]
        yield chunk, ",".join("?" * len(chunk))


def _glob_literal(pattern):
    """A find pattern for GLOB: "*" and "?" keep their meaning, "[" is taken literally."""
    return pattern.replace("[", "[[]")


class Vault:
    """An open vault folder, shared with the other processes that have it open."""

    def __init__(self, folder):
        _check_test_hooks()
        self.folder = os.path.abspath(folder)
        self._lock_file = None
        self.db = None
        try:
            self.store = okt_store.ContentStore(os.path.join(self.folder, STORE_NAME))
            self._lock_file = open(os.path.join(self.folder, LOCK_NAME), "a+b")
        except OSError as error:
            self.close()
            raise VaultError("cannot open the vault folder '%s': %s"
                             % (self.folder, error.strerror or error)) from None
        try:
            self._open_database()
            with self._writing():
                self.sweep()
        except (sqlite3.Error, OSError) as error:
            self.close()
            raise VaultError("cannot open the vault database in '%s': %s"
                             % (self.folder, error)) from None

    def _open_database(self):
        self.db = sqlite3.connect(os.path.join(self.folder, DATABASE_NAME), isolation_level=None,
                                  timeout=BUSY_TIMEOUT)
        self.db.execute("PRAGMA foreign_keys = ON")
        self.db.execute("PRAGMA synchronous = FULL")
        with self._writing():  # two processes creating one vault at once
            self._create_or_upgrade()

    def _create_or_upgrade(self):
        version = self.db.execute("PRAGMA user_version").fetchone()[0]
        script = None
        if version == 0 and self.db.execute("SELECT count(*) FROM sqlite_master").fetchone()[0] == 0:
            script = SCHEMA
        elif version == 1:
            script = LOCAL_COPY + "PRAGMA user_version = %d;" % SCHEMA_VERSION
        if script is not None:
            try:
                self.db.executescript("BEGIN IMMEDIATE;" + script + "COMMIT;")
            except BaseException:
                if self.db.in_transaction:
                    self.db.execute("ROLLBACK")
                raise
        elif version != SCHEMA_VERSION:
            raise VaultError("the vault database in '%s' has the schema version %d; this service "
                             "reads version %d" % (self.folder, version, SCHEMA_VERSION))

    def close(self):
        if self.db is not None:
            self.db.close()
            self.db = None
        if self._lock_file is not None:
            self._lock_file.close()  # releases the lock
            self._lock_file = None

    @contextlib.contextmanager
    def _writing(self):
        """Holds the vault's write lock (waiting for another process's write to end)."""
        fcntl.flock(self._lock_file, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(self._lock_file, fcntl.LOCK_UN)

    def __enter__(self):
        return self

    def __exit__(self, *_exception):
        self.close()

    # -- the file store --

    def sweep(self, among=None):
        """Removes what writes that did not commit left in the store: contents being written and
        contents (all, or those among the hashes given) that no row names."""
        if among is None:
            self.store.clear_staging()
            among = self.store.contents()
        known = set()
        for chunk, marks in _batches(among):
            known.update(row[0] for row in self.db.execute(
                "SELECT sha256 FROM blob WHERE sha256 IN (%s)" % marks, chunk))
        self.store.remove(sha for sha in among if sha not in known)

    def copy_content(self, sha256, stream):
        """Writes a stored content into stream, checking it against its hash."""
        try:
            self.store.copy(sha256, stream)
        except okt_store.StoreError as error:
            raise VaultError(str(error)) from None

    # -- writes --

    def add_versions(self, versions, relationships, user):
        """Writes new versions and their relationships, all or none. Each gets the next version
        number of its design (name, revision), which is created when new. Returns key -> version id."""
        order = _check_write(versions, relationships)
        with self._writing():
            return self._add_versions(versions, relationships, user, order)

    def _add_versions(self, versions, relationships, user, order):
        written = set()
        try:
            contents = {}
            for version in versions:
                for name, data in version.files:
                    sha, size, new = self.store.put(data)
                    contents[(version.key, name)] = (sha, size)
                    if new:
                        written.add(sha)
            _exit_point("stored")
            with _Transaction(self.db):
                ids = {}
                for version in order:
                    ids[version.key] = self._insert_version(version, contents, user)
                    _exit_point("inserted")
                for position, relationship in _positions(relationships):
                    self._insert_relationship(relationship, position, ids)
            _exit_point("committed")
            return ids
        except BaseException:
            self.sweep(written)
            raise

    def _insert_version(self, version, contents, user):
        row = self.db.execute("SELECT id, cad_type, server_type, locked_by FROM design "
                              "WHERE name = ? AND revision = ?", (version.name, version.revision)).fetchone()
        if row is None:
            design_id = self.db.execute(
                "INSERT INTO design (name, revision, cad_type, server_type) VALUES (?, ?, ?, ?)",
                (version.name, version.revision, version.cad_type, version.server_type)).lastrowid
        else:
            design_id, cad_type, server_type, locked_by = row
            if (cad_type, server_type) != (version.cad_type, version.server_type):
                raise VaultError("design '%s' revision %s is of the type %s (%s), not %s (%s)"
                                 % (version.name, version.revision, cad_type, server_type,
                                    version.cad_type, version.server_type))
            if locked_by is not None and locked_by != user:
                raise VaultError("design '%s' revision %s is locked by %s"
                                 % (version.name, version.revision, locked_by))
        number = self.db.execute("SELECT coalesce(max(number), 0) + 1 FROM version WHERE design_id = ?",
                                 (design_id,)).fetchone()[0]
        version_id = self.db.execute(
            "INSERT INTO version (design_id, number, created_by, created_at) VALUES (?, ?, ?, ?)",
            (design_id, number, user, time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime()))).lastrowid
        for position, (name, _data) in enumerate(version.files, 1):
            sha, size = contents[(version.key, name)]
            self.db.execute("INSERT OR IGNORE INTO blob (sha256, size) VALUES (?, ?)", (sha, size))
            self.db.execute("INSERT INTO file (version_id, position, name, blob) VALUES (?, ?, ?, ?)",
                            (version_id, position, name, sha))
        self.db.executemany("INSERT INTO attribute (version_id, position, name, value) VALUES (?, ?, ?, ?)",
                            [(version_id, position, name, value)
                             for position, (name, value) in enumerate(version.attributes, 1)])
        return version_id

    def _insert_relationship(self, relationship, position, ids):
        child = ids.get(relationship.child, relationship.child)
        if self.db.execute("SELECT 1 FROM version WHERE id = ?", (child,)).fetchone() is None:
            raise VaultError("a relationship names the version %r, which is not in the vault"
                             % (relationship.child,))
        rid = self.db.execute(
            "INSERT INTO relationship (parent_id, child_id, position, cad_relationship, topnode, "
            "quantity) VALUES (?, ?, ?, ?, ?, ?)",
            (ids[relationship.parent], child, position, relationship.cad_relationship,
             relationship.topnode, relationship.quantity)).lastrowid
        self.db.executemany(
            "INSERT INTO relationship_attribute (relationship_id, position, name, value) "
            "VALUES (?, ?, ?, ?)",
            [(rid, number, name, value) for number, (name, value) in enumerate(relationship.attributes, 1)])

    @contextlib.contextmanager
    def locking(self, design_ids, user):
        """Locks the designs for user (refused when another user holds one of them) in a
        transaction that commits only when the block of the with statement ends normally."""
        with _Transaction(self.db):
            for chunk, marks in _batches(sorted(set(design_ids))):
                for name, revision, holder in self.db.execute(
                        "SELECT name, revision, locked_by FROM design WHERE id IN (%s) "
                        "AND locked_by IS NOT NULL AND locked_by <> ?" % marks, chunk + [user]):
                    raise VaultError("design '%s' revision %s is locked by %s" % (name, revision, holder))
                self.db.execute("UPDATE design SET locked_by = ? WHERE id IN (%s)" % marks, [user] + chunk)
            yield

    def change_locks(self, changes, user):
        """Locks (wanted True) or unlocks (False) designs for user, given as (design id, wanted)
        pairs, in one transaction, so that of two processes changing the same designs one sees the
        other's result. A design that another user holds is left as it is. Returns design id ->
        its holder before (None when it was free)."""
        with _Transaction(self.db):
            before = {}
            for chunk, marks in _batches(sorted({design_id for design_id, _wanted in changes})):
                before.update(self.db.execute(
                    "SELECT id, locked_by FROM design WHERE id IN (%s)" % marks, chunk))
            for design_id, wanted in changes:
                holder = before.get(design_id)
                if holder is None or holder == user:
                    self.db.execute("UPDATE design SET locked_by = ? WHERE id = ?",
                                    (user if wanted else None, design_id))
            return before

    def set_attributes(self, version_id, pairs, user):
        """Gives the version the attribute values (name, value) pairs, adding the names it lacks,
        unless another user holds its design's lock (VaultError)."""
        _check_pairs(pairs, "version %d: attribute" % version_id)
        with _Transaction(self.db):
            row = self.db.execute("SELECT design.name, design.revision, design.locked_by FROM version "
                                  "JOIN design ON design.id = version.design_id WHERE version.id = ?",
                                  (version_id,)).fetchone()
            if row is None:
                raise VaultError("the vault has no version %r" % (version_id,))
            if row[2] is not None and row[2] != user:
                raise VaultError("design '%s' revision %s is locked by %s" % row)
            known = dict(self.db.execute("SELECT name, position FROM attribute WHERE version_id = ?",
                                         (version_id,)))
            last = max(known.values(), default=0)
            for name, value in pairs:
                if name in known:
                    self.db.execute("UPDATE attribute SET value = ? WHERE version_id = ? AND name = ?",
                                    (value, version_id, name))
                else:
                    last += 1
                    self.db.execute("INSERT INTO attribute (version_id, position, name, value) "
                                    "VALUES (?, ?, ?, ?)", (version_id, last, name, value))

    def record_local_copies(self, user, copies):
        """Notes where the user's files of designs are: (absolute path, design id, file position)."""
        with _Transaction(self.db):
            self.db.executemany("INSERT OR REPLACE INTO local_copy (user, path, design_id, file_position) "
                                "VALUES (?, ?, ?, ?)", [(user,) + tuple(copy) for copy in copies])

    def local_copies(self, user):
        """(path, design id, file position) of every file noted for the user, by path."""
        return self.db.execute("SELECT path, design_id, file_position FROM local_copy WHERE user = ? "
                               "ORDER BY path", (user,)).fetchall()

    def local_copy(self, user, path):
        """(design id, file position) noted for the user's file at path, or None."""
        return self.db.execute("SELECT design_id, file_position FROM local_copy WHERE user = ? AND path = ?",
                               (user, path)).fetchone()

    def latest(self, design_id):
        """The id of the design's latest version, or None."""
        row = self.db.execute("SELECT id FROM version WHERE design_id = ? ORDER BY number DESC LIMIT 1",
                              (design_id,)).fetchone()
        return row and row[0]

    def version_of_content(self, design_id, position, sha256):
        """The number of the design's latest version whose file at position has that content, or None."""
        return self.db.execute(
            "SELECT max(version.number) FROM version JOIN file ON file.version_id = version.id "
            "WHERE version.design_id = ? AND file.position = ? AND file.blob = ?",
            (design_id, position, sha256)).fetchone()[0]

    # -- reads --

    def resolve(self, name, revision=None, number=None):
        """The id of the version of the design name: of the revision given or the one created
        last, of the version number given or the latest. None when there is none."""
        query = ("SELECT version.id FROM version JOIN design ON design.id = version.design_id "
                 "WHERE design.name = ?")
        values = [name]
        if revision is not None:
            query += " AND design.revision = ?"
            values.append(revision)
        if number is not None:
            query += " AND version.number = ?"
            values.append(number)
        row = self.db.execute(query + " ORDER BY design.id DESC, version.number DESC LIMIT 1",
                              values).fetchone()
        return row and row[0]

    def find(self, pattern):
        """The names of the designs that match pattern ("*" any text, "?" one character), sorted."""
        return [row[0] for row in self.db.execute(
            "SELECT DISTINCT name FROM design WHERE name GLOB ? ORDER BY name", (_glob_literal(pattern),))]

    def describe(self, version_id):
        """The Version of that id (without files and attributes), or None."""
        row = self.db.execute(_VERSION_COLUMNS + "WHERE version.id = ?", (version_id,)).fetchone()
        return row and Version(row)

    def load(self, version_ids):
        """A Snapshot of the versions and of everything they contain."""
        snapshot = Snapshot()
        frontier = set(version_ids)
        while frontier:
            self._read_versions(snapshot, frontier)
            found = set()
            for chunk, marks in _batches(sorted(frontier)):
                for row in self.db.execute(
                        "SELECT id, parent_id, child_id, position, cad_relationship, topnode, quantity "
                        "FROM relationship WHERE parent_id IN (%s) ORDER BY parent_id, position" % marks,
                        chunk):
                    relationship = Relationship(row)
                    snapshot.relationships[relationship.id] = relationship
                    snapshot.children.setdefault(relationship.parent, []).append(relationship.id)
                    found.add(relationship.child)
            self._read_relationship_attributes(snapshot, frontier)
            frontier = {version_id for version_id in found if version_id not in snapshot.versions}
        return snapshot

    def _read_versions(self, snapshot, ids):
        for chunk, marks in _batches(sorted(ids)):
            for row in self.db.execute(_VERSION_COLUMNS + "WHERE version.id IN (%s)" % marks, chunk):
                snapshot.versions[row[0]] = Version(row)
            for version_id, name, sha, size in self.db.execute(
                    "SELECT file.version_id, file.name, blob.sha256, blob.size FROM file "
                    "JOIN blob ON blob.sha256 = file.blob WHERE file.version_id IN (%s) "
                    "ORDER BY file.version_id, file.position" % marks, chunk):
                snapshot.versions[version_id].files.append((name, sha, size))
            for version_id, name, value in self.db.execute(
                    "SELECT version_id, name, value FROM attribute WHERE version_id IN (%s) "
                    "ORDER BY version_id, position" % marks, chunk):
                snapshot.versions[version_id].attributes.append((name, value))

    def _read_relationship_attributes(self, snapshot, parents):
        for chunk, marks in _batches(sorted(parents)):
            for rid, name, value in self.db.execute(
                    "SELECT relationship_attribute.relationship_id, relationship_attribute.name, "
                    "relationship_attribute.value FROM relationship_attribute JOIN relationship "
                    "ON relationship.id = relationship_attribute.relationship_id "
                    "WHERE relationship.parent_id IN (%s) "
                    "ORDER BY relationship_attribute.relationship_id, relationship_attribute.position"
                    % marks, chunk):
                snapshot.relationships[rid].attributes.append((name, value))

    def check(self):
        """The faults of the vault: database integrity and keys, store files missing, damaged or
        not named by any row. An empty list for a sound vault."""
        faults = [row[0] for row in self.db.execute("PRAGMA integrity_check") if row[0] != "ok"]
        faults += ["foreign key: %s row %s -> %s" % (row[0], row[1], row[2])
                   for row in self.db.execute("PRAGMA foreign_key_check")]
        stored = set(self.store.contents())
        for sha, size in self.db.execute("SELECT sha256, size FROM blob"):
            stored.discard(sha)
            if self.store.damaged(sha, size):
                faults.append("content %s is missing or damaged" % sha)
        faults += ["content %s is named by no row" % sha for sha in sorted(stored)]
        faults += ["unfinished content %s" % name for name in self.store.unfinished()]
        return faults


class _Transaction:
    """BEGIN IMMEDIATE ... COMMIT, or ROLLBACK when the block raises."""

    def __init__(self, db):
        self.db = db

    def __enter__(self):
        self.db.execute("BEGIN IMMEDIATE")
        return self

    def __exit__(self, kind, _error, _trace):
        if kind is None:
            self.db.execute("COMMIT")
        elif self.db.in_transaction:
            self.db.execute("ROLLBACK")
        return False


def _positions(relationships):
    """(position under its parent, relationship), positions counted from 1 per parent."""
    counts = {}
    for relationship in relationships:
        counts[relationship.parent] = counts.get(relationship.parent, 0) + 1
        yield counts[relationship.parent], relationship


def _check_write(versions, relationships):
    """Refuses a write that the schema would refuse, with a reason; returns the versions in an order
    where every child comes before its parents."""
    by_key = {}
    for version in versions:
        if not isinstance(version.key, str) or version.key in by_key:
            raise VaultError("the version key %r is not a text or occurs twice" % (version.key,))
        by_key[version.key] = version
        for label, text in (("name", version.name), ("revision", version.revision),
                            ("CAD type", version.cad_type), ("server type", version.server_type)):
            fault = _name_fault(text)
            if fault:
                raise VaultError("design %r: the %s %r %s" % (version.name, label, text, fault))
        _check_pairs(version.attributes, "design %r: attribute" % version.name)
        names = [name for name, _data in version.files]
        for name in names:
            fault = file_name_fault(name)
            if fault:
                raise VaultError("design %r: the file name %r %s" % (version.name, name, fault))
        if len(set(names)) != len(names):
            raise VaultError("design %r names a file twice" % version.name)
    children = {key: [] for key in by_key}
    for relationship in relationships:
        where = "relationship %r -> %r" % (relationship.parent, relationship.child)
        if relationship.parent not in by_key:
            raise VaultError("%s: the parent is not written with it" % where)
        if relationship.child in by_key:
            children[relationship.parent].append(relationship.child)
        elif not isinstance(relationship.child, int) or isinstance(relationship.child, bool):
            raise VaultError("%s: the child is neither written with it nor a version id" % where)
        if not relationship.cad_relationship:
            raise VaultError("%s has no relationship type" % where)
        if type(relationship.quantity) is not int or relationship.quantity < 1:
            raise VaultError("%s: the quantity %r is not a whole number of at least 1"
                             % (where, relationship.quantity))
        _check_pairs(relationship.attributes, where + ": attribute")
        if any(name == "Quantity" for name, _value in relationship.attributes):
            raise VaultError("%s: 'Quantity' is the quantity, not an attribute" % where)
    return [by_key[key] for key in _children_first(children)]


def _check_pairs(pairs, where):
    names = [name for name, _value in pairs]
    if any(not name for name in names) or len(set(names)) != len(names):
        raise VaultError("%s names must be present and distinct" % where)
    for name, value in pairs:
        if okt_xml.clean_text(name) != name or okt_xml.clean_text(value) != value:
            raise VaultError("%s %r holds a character that XML cannot carry" % (where, name))


def _children_first(children):
    """Keys ordered so that each comes after all of its children; refuses a cycle."""
    order, state = [], {}
    for start in children:
        if start in state:
            continue
        state[start] = "open"
        stack = [(start, iter(children[start]))]
        while stack:
            key, pending = stack[-1]
            child = next(pending, None)
            if child is None:
                stack.pop()
                state[key] = "done"
                order.append(key)
            elif state.get(child) == "open":
                raise VaultError("the design %r contains itself" % (child,))
            elif child not in state:
                state[child] = "open"
                stack.append((child, iter(children[child])))
    return order

-- The whole database of the grade system: eight tables, their unique codes,
-- the references that refuse deletions, and the indexes every window's
-- queries rely on. Used by the empty-file step of the build and by the tests.
--
-- Each section "-- version N: ..." brings a file of version N-1 to version N;
-- a new file runs every section in turn. To change the schema, add a section
-- at the end; never change one that has been released. A statement ends with
-- the line that ends in ";".

-- version 1: the eight tables of the first release

CREATE TABLE TTerm (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    TermCode INTEGER NOT NULL UNIQUE CHECK (TermCode BETWEEN -2147483648 AND 2147483647),
    TermName TEXT
) STRICT;

CREATE TABLE TSubject (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    SubjCode TEXT NOT NULL UNIQUE,
    SubjName TEXT
) STRICT;

CREATE TABLE TClass (
    ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    ClassCode TEXT NOT NULL UNIQUE,
    ClassName TEXT
) STRICT;

CREATE TABLE TTermToClass (
    ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    TermCode  INTEGER NOT NULL REFERENCES TTerm (TermCode),
    ClassCode TEXT NOT NULL REFERENCES TClass (ClassCode),
    UNIQUE (TermCode, ClassCode)
) STRICT;
CREATE INDEX IX_TTermToClass_ClassCode ON TTermToClass (ClassCode);

CREATE TABLE TClassToSubject (
    ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    TermCode  INTEGER NOT NULL,
    ClassCode TEXT NOT NULL,
    SubjCode  TEXT NOT NULL REFERENCES TSubject (SubjCode),
    UNIQUE (TermCode, ClassCode, SubjCode),
    FOREIGN KEY (TermCode, ClassCode) REFERENCES TTermToClass (TermCode, ClassCode)
) STRICT;
CREATE INDEX IX_TClassToSubject_SubjCode ON TClassToSubject (SubjCode);

CREATE TABLE TStudent (
    ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    ClassCode  TEXT NOT NULL REFERENCES TClass (ClassCode),
    SName      TEXT,
    SNumber    TEXT,
    Room       TEXT,
    Address    TEXT,
    PostCode   TEXT,
    Patriarchy TEXT,
    HomeTel    TEXT,
    WJContent  TEXT,
    IsTY       INTEGER NOT NULL DEFAULT 0 CHECK (IsTY IN (0, 1)),
    HasWJ      INTEGER NOT NULL DEFAULT 0 CHECK (HasWJ IN (0, 1)),
    IsActive   INTEGER NOT NULL DEFAULT 1 CHECK (IsActive IN (0, 1))
) STRICT;
CREATE INDEX IX_TStudent_ClassCode_SName ON TStudent (ClassCode, SName);

CREATE TABLE THonoursStd (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    TermCode    INTEGER NOT NULL,
    ClassCode   TEXT NOT NULL,
    SubjectCode TEXT NOT NULL REFERENCES TSubject (SubjCode),
    Score       REAL NOT NULL DEFAULT 0
) STRICT;
CREATE INDEX IX_THonoursStd_Class ON THonoursStd (TermCode, ClassCode, SubjectCode);
CREATE INDEX IX_THonoursStd_SubjectCode ON THonoursStd (SubjectCode);

CREATE TABLE TGrade (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    TermCode    INTEGER NOT NULL,
    ClassCode   TEXT NOT NULL,
    StudentID   INTEGER NOT NULL REFERENCES TStudent (ID),
    SubjectCode TEXT NOT NULL REFERENCES TSubject (SubjCode),
    Score       REAL NOT NULL DEFAULT 0
) STRICT;
CREATE INDEX IX_TGrade_Student ON TGrade (TermCode, ClassCode, StudentID);
CREATE INDEX IX_TGrade_StudentID ON TGrade (StudentID);
CREATE INDEX IX_TGrade_SubjectCode ON TGrade (SubjectCode);

-- version 2: a term's or a class's scores read from the index alone
-- The comparison of a term's classes and a student's history read tens of
-- thousands of scores; with subject, entry and score in the index they come
-- in the order in which they count (the later of two entries last) without a
-- look into the table. Its first three columns serve every lookup the
-- narrower index served.

DROP INDEX IX_TGrade_Student;
CREATE INDEX IX_TGrade_Scores ON TGrade (TermCode, ClassCode, StudentID, SubjectCode, ID, Score);

-- version 3: the school's own name, printed in every title
-- One row, ID 1. A file made before this version gets the row with an empty
-- name; the statement that writes the name makes the row again if it is gone.

CREATE TABLE TSchool (
    ID         INTEGER PRIMARY KEY CHECK (ID = 1),
    SchoolName TEXT NOT NULL DEFAULT ''
) STRICT;
INSERT INTO TSchool (ID, SchoolName) VALUES (1, '');

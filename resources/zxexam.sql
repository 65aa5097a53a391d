-- Template database of the exam client; the build turns it into resources/zxexam.db, which the
-- launch installs as the working database. Every table exists here from the start: the client
-- creates none and changes the structure in one place only (the late course columns, added by
-- the base-item download when an older database lacks them).
--
-- Column prefixes fix the stored kind: i integer, c text, d date text "yyyy-MM-dd HH:mm:ss"
-- (local time), b boolean 0/1, p picture bytes; id is the table's own row id.
--
-- Keys from the service are declared "integer primary key" so that lookups by key use the
-- row id b-tree. Ids that the client assigns itself (papers, notes, reports, logs) use
-- AUTOINCREMENT: an id is never handed out twice, so an exchange task or a server-side copy
-- that still names a deleted row can never be mistaken for a newer one.

-- Write-ahead logging is a property of the file: every connection to the installed copy uses
-- it. Readers no longer wait for a writer, and with synchronous=NORMAL a commit costs no fsync
-- while a killed process still loses no committed transaction.
pragma journal_mode = wal;

begin;

-- Catalogue ---------------------------------------------------------------------------------

create table courseclass (
    iclassid integer primary key,
    ccoursecname text,
    csubjecttypes text,
    iindex integer,
    bstopflag integer default 0,
    dchangedate text
);

create table coursesubclass (
    isubclassid integer primary key,
    csubclassname text,
    iclassid integer,
    iindex integer,
    bstopflag integer default 0,
    dchangedate text
);
create index idx_coursesubclass_class on coursesubclass (iclassid, iindex);

create table course (
    icourseid integer primary key,
    iclassid integer,
    isubclassid integer,
    ccoursename text,
    iindex integer,
    bstopflag integer default 0,
    bdistrict integer default 0,
    dchangedate text,
    dcreatedate text,
    cexamdate char(10) null,
    ctypscount char(200) null,
    cmemo text,
    ccreateperson text,
    dchapterchange text,
    dsubjectchange text,
    doutlinechange text,
    dchapterdelete text,
    dsubjectdelete text,
    doutlinedelete text,
    iselectchapterid integer,
    itestsubjectid integer,
    itestmode integer
);
create index idx_course_subclass on course (isubclassid, iindex);

create table district (
    cdccode text primary key,
    cdcname text,
    bendgrade integer,
    igrade integer,
    cmemo text,
    dchangedate text
);

create table sys_message (
    cmsgid text primary key,
    cmsgtitle text,
    cmsgurl text,
    ctype text,
    iindex integer,
    icourseid integer,
    bstopflag integer default 0,
    dchangedate text,
    dstartdate text,
    denddate text
);

create table sys_photoad (
    ipaid integer primary key,
    cpatitle text,
    pimage blob,
    curl text,
    cextname text,
    bstopflag integer default 0,
    dchangedate text,
    dstartdate text,
    denddate text
);

create table sys_tableimage (
    ctblname text not null,
    csourceid text not null,
    pimage blob,
    cextname text,
    dchangedate text,
    primary key (ctblname, csourceid)
);

-- Course content ----------------------------------------------------------------------------

create table coursechapter (
    ichapterid integer primary key,
    icourseid integer,
    cchaptercode text,
    itype integer,
    cchaptername text,
    bendgrade integer,
    igrade integer,
    icount integer,
    iexamtime integer,
    cdcname text,
    cmemo text,
    bstopflag integer default 0,
    dchangedate text,
    bdownload integer default 0
);
-- Level lists, subtree prefixes (cchaptercode like 'p%') and the writer's key lookup.
create index idx_coursechapter_course on coursechapter (icourseid, itype, cchaptercode);
create index idx_coursechapter_grade on coursechapter (icourseid, itype, igrade);

create table coursesubject (
    isubjectid integer primary key,
    icourseid integer,
    ichapterid integer,
    isubjecttype integer,
    ichaptertype integer,
    iindex integer,
    iscore integer,
    ctitle text,
    cquestion text,
    canswer text,
    ianswercount integer,
    cdescription text,
    csubjecttype text,
    bpicquestion integer default 0,
    bpicanswer integer default 0,
    brich integer default 0,
    bstopflag integer default 0,
    dchangedate text,
    cmaker text,
    cmyanswer text,
    bcorrect integer default 0,
    imyscore integer default 0,
    danswerdate text,
    iwrong integer default 0,
    bremember integer default 0,
    drememberdate text,
    bcollect integer default 0
);
-- Course-wide lists in practice order (with each subject's chapter and withdrawn mark, so that
-- a paper's draw reads the bank from the index alone), and per-chapter lists in the same order.
create index idx_coursesubject_course on coursesubject (icourseid, isubjecttype, iindex, isubjectid, ichapterid, bstopflag);
create index idx_coursesubject_chapter on coursesubject (ichapterid, isubjecttype, iindex);
-- The wrong-answer and review lists read wrong counts, answer dates, chapters and favourite
-- marks from the index alone, without the long subject rows.
create index idx_coursesubject_wrong on coursesubject (icourseid, iwrong, danswerdate, ichapterid, bcollect);
-- Covering indexes of the practice engine's course-wide reads, so that they never touch the wide
-- subject rows: the per-chapter progress tallies and the course's progress (answered, correct),
-- and the course's subject ids in practice order without the withdrawn ones.
create index idx_coursesubject_progress on coursesubject (icourseid, ichapterid, bstopflag, cmyanswer, bcorrect);
create index idx_coursesubject_order on coursesubject (icourseid, bstopflag, isubjecttype, iindex);
-- Placeholder rows still to be fetched: few at any time, asked after at every course opening.
create index idx_coursesubject_placeholder on coursesubject (icourseid)
    where cmaker = 'downloading';
-- The text search walks a course's subjects in id order reading only the stored titles: this
-- index holds what it reads, so the search never sorts and never touches the full rows.
create index idx_coursesubject_search on coursesubject (icourseid, isubjectid, ichapterid, ctitle);

create table courseoutline (
    ioutlineid integer primary key,
    icourseid integer,
    coutlinecode text,
    itype integer,
    coutlinename text,
    bendgrade integer,
    igrade integer,
    cdcname text,
    curl text,
    ctext text,
    bstopflag integer default 0,
    dchangedate text
);
create index idx_courseoutline_course on courseoutline (icourseid, coutlinecode);

-- Default names of the question types; a subject's own csubjecttype overrides them.
create table coursesubjecttype (
    isubjecttype integer primary key,
    csubjectname text
);
insert into coursesubjecttype (isubjecttype, csubjectname) values
    (0, '单选题'),
    (1, '多选题'),
    (2, '判断题'),
    (3, '问答题'),
    (4, '案例题'),
    (5, '填空题'),
    (6, '不定项');

-- Learner records ---------------------------------------------------------------------------

create table simulationpaper (
    ipaperid integer primary key autoincrement,
    icourseid integer,
    cpapername text,
    itotaltime integer,
    itotalscore integer,
    iscore integer default 0,
    iexam integer default 0,
    ifromchapter integer default 0,
    isubjectcount integer,
    itype0count integer default 0,
    itype1count integer default 0,
    itype2count integer default 0,
    itype3count integer default 0,
    itype4count integer default 0,
    itype5count integer default 0,
    dcreatedate text,
    dexamtime text,
    iusetime integer default 0,
    iserverpaperid integer default 0
);
create index idx_simulationpaper_course on simulationpaper (icourseid);
create index idx_simulationpaper_server on simulationpaper (iserverpaperid);

create table simulationpaperdetail (
    id integer primary key autoincrement,
    ipaperid integer,
    iindex integer,
    isubjectid integer,
    cmyanswer text,
    bcorrect integer default 0,
    iscore integer,
    imyscore integer default 0
);
create index idx_simulationpaperdetail_paper on simulationpaperdetail (ipaperid, isubjectid);

create table cs_writenote (
    id integer primary key autoincrement,
    isubjectid integer,
    cnotetext text,
    dchangedate text,
    istatus integer
);
create index idx_cs_writenote_subject on cs_writenote (isubjectid);

create table cs_writeerror (
    id integer primary key autoincrement,
    isubjectid integer,
    ierrortype integer,
    cerrortext text,
    dchangedate text,
    istatus integer
);
create index idx_cs_writeerror_subject on cs_writeerror (isubjectid);

-- Practice results kept for upload: the columns the upload sends, plus those its record reads
-- (dtime, iprescore, isubclassid).
create table simulationlog (
    id integer primary key autoincrement,
    icourseid integer,
    isubclassid integer,
    ccuscode text,
    cuserid text,
    cchaptername text,
    iusetime integer,
    imyscore integer,
    itotalscore integer,
    itestcount integer,
    dprescore real,
    iprescore integer,
    dtime text,
    dchangedate text
);

-- System tables -----------------------------------------------------------------------------

create table sys_cussetting (
    cname text primary key,
    cvalue text,
    dchangedate text
);

-- One row per base item; id is the item number that the service uses as well. The numbers are
-- also listed in src/store/server_exchange_items.h; keep both lists equal.
--   1 courseclass, 2 coursesubclass, 3 course, 4 district, 5 sys_cussetting, 6 sys_message,
--   7 sys_photoad
-- Rows are processed in id order: classes before sub-classes before courses.
create table sys_serverexchangeitem (
    id integer primary key,
    citemname text,
    dupdatedate text,
    ddeletedate text
);
insert into sys_serverexchangeitem (id, citemname) values
    (1, 'courseclass'),
    (2, 'coursesubclass'),
    (3, 'course'),
    (4, 'district'),
    (5, 'sys_cussetting'),
    (6, 'sys_message'),
    (7, 'sys_photoad');

-- Queue of local records waiting for upload; queuing the same record, table and action twice
-- leaves one task.
create table sys_exchangeclienttask (
    cprimaryvalue text,
    citemname text,
    iaction integer,
    dchangedate text,
    cmaker text,
    unique (cprimaryvalue, citemname, iaction)
);
create index idx_sys_exchangeclienttask_date on sys_exchangeclienttask (dchangedate);

-- Knowledge points; kept for the full data clearing, otherwise unused.
create table sys_knowledge (
    id integer primary key autoincrement,
    icourseid integer,
    cknowledgecode text,
    cknowledgename text,
    ctext text,
    dchangedate text
);

commit;

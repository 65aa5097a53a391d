-- Template database of the exam client; the build turns it into resources/zxexam.db.
create table sys_cussetting (ccode text primary key, cvalue text, dchangedate text);

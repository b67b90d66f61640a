-- dbgauge: the V$ views that the monitor reads, computed live from the server's
-- statistics views. Idempotent: run it again to bring an installation up to date.
-- Install as a superuser (or the database owner) into the monitored database:
--   psql -d DB -f dbgauge_views.sql
-- Monitoring roles read the views through membership in pg_monitor.
--
-- Names are lower case because unquoted identifiers fold to lower case; the client
-- library turns "STATISTIC#" into statistic_no and "SERIAL#" into serial_no.

BEGIN;

CREATE SCHEMA IF NOT EXISTS dbgauge;

-- Statistics of the database the session is connected to.
CREATE OR REPLACE VIEW dbgauge.database_stats AS
  SELECT * FROM pg_catalog.pg_stat_database WHERE datname = pg_catalog.current_database();

-- Client sessions (one row per client backend).
CREATE OR REPLACE VIEW dbgauge.client_sessions AS
  SELECT * FROM pg_catalog.pg_stat_activity WHERE backend_type = 'client backend';

-- The statistic names, numbered from 0 without gaps. The class follows the usual
-- grouping: 1 user, 2 redo, 4 enqueue, 8 cache, 64 SQL.
CREATE OR REPLACE VIEW dbgauge."v$statname" AS
  SELECT s.statistic_no, s.name, s.class
  FROM (VALUES
    (0, 'logons cumulative', 1),
    (1, 'logons current', 1),
    (2, 'user commits', 1),
    (3, 'user rollbacks', 1),
    (4, 'session logical reads', 1),
    (5, 'physical reads', 8),
    (6, 'buffer cache hits', 8),
    (7, 'table scan rows gotten', 64),
    (8, 'rows fetched', 64),
    (9, 'rows inserted', 64),
    (10, 'rows updated', 64),
    (11, 'rows deleted', 64),
    (12, 'temp files created', 64),
    (13, 'temp space written (bytes)', 64),
    (14, 'enqueue deadlocks', 4),
    (15, 'recovery conflicts', 1),
    (16, 'checksum failures', 8),
    (17, 'physical read total time (ms)', 8),
    (18, 'physical write total time (ms)', 8),
    (19, 'session connect time (ms)', 1),
    (20, 'session active time (ms)', 1),
    (21, 'session idle in transaction time (ms)', 1),
    (22, 'sessions abandoned', 1),
    (23, 'sessions fatal', 1),
    (24, 'sessions killed', 1),
    (25, 'redo entries', 2),
    (26, 'redo size', 2),
    (27, 'redo full page images', 2),
    (28, 'redo buffer allocation retries', 2),
    (29, 'redo writes', 2),
    (30, 'redo synch writes', 2),
    (31, 'redo write time (ms)', 2),
    (32, 'redo synch time (ms)', 2),
    (33, 'DBWR checkpoints', 8),
    (34, 'checkpoints requested', 8),
    (35, 'checkpoint write time (ms)', 8),
    (36, 'checkpoint sync time (ms)', 8),
    (37, 'DBWR checkpoint buffers written', 8),
    (38, 'buffers written by background writer', 8),
    (39, 'background writer stops (maxwritten)', 8),
    (40, 'buffers written by backends', 8),
    (41, 'backend fsyncs', 8),
    (42, 'buffers allocated', 8),
    (43, 'physical writes', 8),
    (44, 'locks held', 4),
    (45, 'locks waiting', 4),
    (46, 'sessions active', 1),
    (47, 'sessions idle in transaction', 1),
    (48, 'table scans', 64),
    (49, 'index scans', 64),
    (50, 'dead rows', 64),
    (51, 'vacuums', 64),
    (52, 'analyzes', 64),
    (53, 'database size (bytes)', 8),
    (54, 'archived WAL files', 2),
    (55, 'failed WAL archivals', 2),
    (56, 'prepared transactions', 1)
  ) AS s(statistic_no, name, class)
  ORDER BY s.statistic_no;

-- The value of one statistic. Each statistic is one plain statistics-view query and only
-- the asked one runs, so reading one statistic costs one such query (the statements of
-- a function are planned once per session and then reused).
CREATE OR REPLACE FUNCTION dbgauge.system_value(statistic integer) RETURNS bigint
LANGUAGE plpgsql STABLE AS $fn$
DECLARE
  result bigint;
BEGIN
  CASE statistic
    WHEN 0 THEN SELECT sessions INTO result FROM dbgauge.database_stats;
    WHEN 1 THEN SELECT count(*) INTO result FROM dbgauge.client_sessions;
    WHEN 2 THEN SELECT xact_commit INTO result FROM dbgauge.database_stats;
    WHEN 3 THEN SELECT xact_rollback INTO result FROM dbgauge.database_stats;
    WHEN 4 THEN SELECT blks_read + blks_hit INTO result FROM dbgauge.database_stats;
    WHEN 5 THEN SELECT blks_read INTO result FROM dbgauge.database_stats;
    WHEN 6 THEN SELECT blks_hit INTO result FROM dbgauge.database_stats;
    WHEN 7 THEN SELECT tup_returned INTO result FROM dbgauge.database_stats;
    WHEN 8 THEN SELECT tup_fetched INTO result FROM dbgauge.database_stats;
    WHEN 9 THEN SELECT tup_inserted INTO result FROM dbgauge.database_stats;
    WHEN 10 THEN SELECT tup_updated INTO result FROM dbgauge.database_stats;
    WHEN 11 THEN SELECT tup_deleted INTO result FROM dbgauge.database_stats;
    WHEN 12 THEN SELECT temp_files INTO result FROM dbgauge.database_stats;
    WHEN 13 THEN SELECT temp_bytes INTO result FROM dbgauge.database_stats;
    WHEN 14 THEN SELECT deadlocks INTO result FROM dbgauge.database_stats;
    WHEN 15 THEN SELECT conflicts INTO result FROM dbgauge.database_stats;
    WHEN 16 THEN SELECT coalesce(checksum_failures, 0) INTO result FROM dbgauge.database_stats;
    WHEN 17 THEN SELECT blk_read_time INTO result FROM dbgauge.database_stats;
    WHEN 18 THEN SELECT blk_write_time INTO result FROM dbgauge.database_stats;
    WHEN 19 THEN SELECT session_time INTO result FROM dbgauge.database_stats;
    WHEN 20 THEN SELECT active_time INTO result FROM dbgauge.database_stats;
    WHEN 21 THEN SELECT idle_in_transaction_time INTO result FROM dbgauge.database_stats;
    WHEN 22 THEN SELECT sessions_abandoned INTO result FROM dbgauge.database_stats;
    WHEN 23 THEN SELECT sessions_fatal INTO result FROM dbgauge.database_stats;
    WHEN 24 THEN SELECT sessions_killed INTO result FROM dbgauge.database_stats;
    WHEN 25 THEN SELECT wal_records INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 26 THEN SELECT wal_bytes INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 27 THEN SELECT wal_fpi INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 28 THEN SELECT wal_buffers_full INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 29 THEN SELECT wal_write INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 30 THEN SELECT wal_sync INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 31 THEN SELECT wal_write_time INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 32 THEN SELECT wal_sync_time INTO result FROM pg_catalog.pg_stat_wal;
    WHEN 33 THEN SELECT checkpoints_timed + checkpoints_req INTO result
                   FROM pg_catalog.pg_stat_bgwriter;
    WHEN 34 THEN SELECT checkpoints_req INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 35 THEN SELECT checkpoint_write_time INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 36 THEN SELECT checkpoint_sync_time INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 37 THEN SELECT buffers_checkpoint INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 38 THEN SELECT buffers_clean INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 39 THEN SELECT maxwritten_clean INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 40 THEN SELECT buffers_backend INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 41 THEN SELECT buffers_backend_fsync INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 42 THEN SELECT buffers_alloc INTO result FROM pg_catalog.pg_stat_bgwriter;
    WHEN 43 THEN SELECT buffers_checkpoint + buffers_clean + buffers_backend INTO result
                   FROM pg_catalog.pg_stat_bgwriter;
    WHEN 44 THEN SELECT count(*) INTO result FROM pg_catalog.pg_locks WHERE granted;
    WHEN 45 THEN SELECT count(*) INTO result FROM pg_catalog.pg_locks WHERE NOT granted;
    WHEN 46 THEN SELECT count(*) INTO result FROM dbgauge.client_sessions
                   WHERE state = 'active';
    WHEN 47 THEN SELECT count(*) INTO result FROM dbgauge.client_sessions
                   WHERE state LIKE 'idle in transaction%';
    WHEN 48 THEN SELECT coalesce(sum(seq_scan), 0) INTO result
                   FROM pg_catalog.pg_stat_all_tables;
    WHEN 49 THEN SELECT coalesce(sum(idx_scan), 0) INTO result
                   FROM pg_catalog.pg_stat_all_tables;
    WHEN 50 THEN SELECT coalesce(sum(n_dead_tup), 0) INTO result
                   FROM pg_catalog.pg_stat_all_tables;
    WHEN 51 THEN SELECT coalesce(sum(vacuum_count + autovacuum_count), 0) INTO result
                   FROM pg_catalog.pg_stat_all_tables;
    WHEN 52 THEN SELECT coalesce(sum(analyze_count + autoanalyze_count), 0) INTO result
                   FROM pg_catalog.pg_stat_all_tables;
    WHEN 53 THEN result := pg_catalog.pg_database_size(pg_catalog.current_database());
    WHEN 54 THEN SELECT archived_count INTO result FROM pg_catalog.pg_stat_archiver;
    WHEN 55 THEN SELECT failed_count INTO result FROM pg_catalog.pg_stat_archiver;
    WHEN 56 THEN SELECT count(*) INTO result FROM pg_catalog.pg_prepared_xacts;
    ELSE result := NULL;
  END CASE;
  RETURN result;
END
$fn$;

CREATE OR REPLACE VIEW dbgauge."v$sysstat" AS
  SELECT n.statistic_no, n.name, n.class, dbgauge.system_value(n.statistic_no) AS value
  FROM dbgauge."v$statname" n;

-- The value of one statistic for one client backend, where the server keeps it per
-- backend; 0 for the rest.
CREATE OR REPLACE FUNCTION dbgauge.session_value(statistic integer, backend integer)
RETURNS bigint LANGUAGE plpgsql STABLE AS $fn$
DECLARE
  result bigint;
BEGIN
  CASE statistic
    WHEN 0, 1 THEN result := 1;
    WHEN 19 THEN SELECT (extract(epoch FROM pg_catalog.now() - a.backend_start) * 1000)
                   INTO result FROM dbgauge.client_sessions a WHERE a.pid = backend;
    WHEN 44 THEN SELECT count(*) INTO result FROM pg_catalog.pg_locks
                   WHERE pid = backend AND granted;
    WHEN 45 THEN SELECT count(*) INTO result FROM pg_catalog.pg_locks
                   WHERE pid = backend AND NOT granted;
    WHEN 46 THEN SELECT count(*) INTO result FROM dbgauge.client_sessions a
                   WHERE a.pid = backend AND a.state = 'active';
    WHEN 47 THEN SELECT count(*) INTO result FROM dbgauge.client_sessions a
                   WHERE a.pid = backend AND a.state LIKE 'idle in transaction%';
    ELSE result := 0;
  END CASE;
  RETURN result;
END
$fn$;

CREATE OR REPLACE VIEW dbgauge."v$sesstat" AS
  SELECT s.pid AS sid, n.statistic_no, dbgauge.session_value(n.statistic_no, s.pid) AS value
  FROM dbgauge.client_sessions s CROSS JOIN dbgauge."v$statname" n;

-- The address that ties a session to its process: the backend pid as 8 hex digits.
CREATE OR REPLACE VIEW dbgauge."v$process" AS
  SELECT pg_catalog.lpad(pg_catalog.to_hex(a.pid), 8, '0') AS addr,
         a.pid AS pid,
         a.pid::text AS spid,
         a.usename::text AS username,
         a.backend_type AS program,
         a.backend_start AS logon_time
  FROM pg_catalog.pg_stat_activity a;

CREATE OR REPLACE VIEW dbgauge."v$session" AS
  SELECT a.pid AS sid,
         (extract(epoch FROM a.backend_start)::bigint % 2147483647)::int AS serial_no,
         pg_catalog.lpad(pg_catalog.to_hex(a.pid), 8, '0') AS paddr,
         a.usename::text AS username,
         CASE WHEN a.state = 'active' THEN 'ACTIVE' ELSE 'INACTIVE' END AS status,
         coalesce(a.client_hostname, pg_catalog.host(a.client_addr)) AS terminal,
         NULLIF(a.application_name, '') AS program,
         a.datname::text AS schemaname,
         a.backend_start AS logon_time,
         'USER'::text AS type
  FROM dbgauge.client_sessions a;

CREATE OR REPLACE VIEW dbgauge."v$instance" AS
  SELECT 1 AS instance_number,
         coalesce(NULLIF(pg_catalog.current_setting('cluster_name'), ''),
                  pg_catalog.current_database()::text) AS instance_name,
         coalesce(pg_catalog.host(pg_catalog.inet_server_addr()), 'localhost') AS host_name,
         pg_catalog.current_setting('server_version') AS version,
         pg_catalog.pg_postmaster_start_time() AS startup_time,
         'OPEN'::text AS status,
         'ACTIVE'::text AS database_status;

-- One-row table for statements that select an expression only.
CREATE OR REPLACE VIEW dbgauge.dual AS SELECT 'X'::varchar(1) AS dummy;

-- The first argument unless it is NULL. The client library spells NVL as coalesce, which
-- also accepts arguments of different types; this function serves other clients.
CREATE OR REPLACE FUNCTION dbgauge.nvl(anyelement, anyelement) RETURNS anyelement
  LANGUAGE sql IMMUTABLE AS 'SELECT coalesce($1, $2)';

GRANT USAGE ON SCHEMA dbgauge TO pg_monitor;
GRANT SELECT ON ALL TABLES IN SCHEMA dbgauge TO pg_monitor;
GRANT USAGE ON SCHEMA dbgauge TO PUBLIC;
GRANT SELECT ON dbgauge.dual TO PUBLIC;

COMMIT;

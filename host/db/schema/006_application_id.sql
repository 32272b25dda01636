-- Marks the file as a catalogue of this system: application id 0x52504C4D
-- ("RPLM") in the file's header. A file of an earlier version is recognised
-- by its schema; from this version on, by the id. The id never changes.
PRAGMA application_id = 1380994125;

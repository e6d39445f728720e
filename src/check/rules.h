#pragma once

class CheckContext;

// The rules by group, each over the whole file; one small function per rule inside.
void CheckStructure(CheckContext& check);
void CheckSampleTables(CheckContext& check);
void CheckTracks(CheckContext& check);
void CheckFragments(CheckContext& check);
void CheckCodecs(CheckContext& check);
void CheckBootstrap(CheckContext& check);

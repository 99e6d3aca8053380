// The repository test fixture, shared with the repository tests.
#include "repository/RepoTestDb.cpp"

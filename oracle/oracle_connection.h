// One open database session, opened for (user, password, server) and verified to see
// the statistics views the monitor reads. Owned by the ConnectionCache; shared with the
// sampling thread, whose calls the client serialises per session.
#pragma once

#include "pgoci/include/oci7.h"

#include <string>

class OracleConnection {
public:
    OracleConnection(std::string user, std::string password, std::string server);
    // Logs the session off, also after a failed logon.
    ~OracleConnection();
    OracleConnection(const OracleConnection &) = delete;
    OracleConnection &operator=(const OracleConnection &) = delete;

    // Logs on and verifies the views. On failure error receives message -95016 (logon)
    // or -95014 (views that cannot be read); on success it is emptied.
    void OracleConnect(std::string &error);

    OciDataArea *logonArea() { return &logonArea_; }
    const std::string &user() const { return user_; }
    const std::string &password() const { return password_; }
    const std::string &server() const { return server_; }

private:
    void VerifyTables(std::string &error);

    std::string user_;
    std::string password_;
    std::string server_;
    unsigned char hostArea_[OCI_HOST_AREA_SIZE];
    OciDataArea logonArea_;
};

// True when "SELECT * FROM <table>" parses at once on the open cursor; nothing runs.
// Any parse error, a missing privilege included, counts as a missing table.
bool DoesTableExist(OciDataArea *cursor, const char *table);

#pragma once

class Connection;

// One change and its counter bumps as one unit: an InnoDB transaction begun here,
// before the change's first write, and committed by commit() after its last bump.
// A unit left without commit() (an error ended the operation) is rolled back, so a
// change never stays without its bump; a connection lost on the way leaves nothing
// of it. Units nest: an inner unit joins the open one and only the outermost
// commits. A unit is never kept open across a message box or a file dialog.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

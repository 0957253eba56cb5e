// Another copy of the program holding names.mdb, for the tests that use the
// file from two processes at once:
//   database_holder PATH connection      holds an open connection, as the
//                                        program does while its input box is open
//   database_holder PATH write MS NAME   stores NAME in user_lastname in a write
//                                        transaction; once a line comes on its
//                                        standard input it commits MS ms later
// Prints "held" once it holds the file, "done" after the commit, and ends when
// its standard input closes.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include <QString>

#include "platform/database.h"
#include "platform/failure.h"

int main(int argc, char* argv[]) {
    if (argc < 3) return 2;
    try {
        platform::Database database;
        database.open(QString::fromLocal8Bit(argv[1]));
        std::optional<platform::Transaction> transaction;
        const bool write = std::strcmp(argv[2], "write") == 0 && argc == 5;
        if (write) {
            transaction.emplace(database);
            database.execute("insert into user_lastname (lastname) values (?)",
                             QString::fromLocal8Bit(argv[4]));
        }
        std::cout << "held" << std::endl;
        std::string line;
        if (write) {
            std::getline(std::cin, line);
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[3])));
            transaction->commit();
            std::cout << "done" << std::endl;
        }
        while (std::getline(std::cin, line)) {
        }
    } catch (const platform::Failure& failure) {
        std::cout << failure.description().toStdString() << std::endl;
        return 1;
    }
    return 0;
}

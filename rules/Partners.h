#pragma once

#include <QString>
#include <optional>

// One register of partners, the providers or the customers, and the
// contracts they sign (named by their paper number, contract_no).
struct Partners {
    QString table, codeField, nameField;
    QString contractTable;

    static const Partners &providers();
    static const Partners &customers();
};

// What a window does with the blanks around a code typed into it before the
// code is looked up. The register's codes compare without letter case.
enum class Blanks {
    Kept,    // the code as typed
    Trimmed, // without its leading and trailing blanks
};

// The partner's name in its register; nothing when the code is not there.
std::optional<QString> partnerName(const Partners &partners, const QString &typedCode, Blanks blanks);

// How a typed code is held against the code of the partner who signed a
// contract. Letter case always counts; the rules differ in the blanks.
enum class SignerMatch {
    Exactly,      // both as they stand
    TypedTrimmed, // the typed code trimmed, the signer's as stored
    BothTrimmed,  // both trimmed
};

// Whether the contract with that paper number was signed by the partner whose
// code was typed. A contract that does not exist was signed by nobody: it
// matches only an empty code.
bool signedBy(const Partners &partners, const QString &contractNo, const QString &typedCode,
              SignerMatch match);

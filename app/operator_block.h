// The operator block: field B of an operator record, holding the name, the
// ten-character password and the 2000-byte rights table, each piece
// scrambled on its own with the record's scramble byte.
#pragma once

constexpr int OPERATOR_BLOCK_BYTES = 2100;
constexpr int OPERATOR_NAME_BYTES = 15;
constexpr int OPERATOR_PASSWORD_BYTES = 10;
constexpr int OPERATOR_RIGHTS_BYTES = 2000;

// A new operator's block over a blank one: the name (15 characters), a blank
// password, every right, and the scramble byte.
void NewOperatorBlock(char* block, const char* name, int scrambleByte);

// Pieces read back in plain text, and written scrambled.
void OperatorBlockName(const char* block, char* name);
void OperatorBlockSetName(char* block, const char* name);
void OperatorBlockPassword(const char* block, char* password);
void OperatorBlockSetPassword(char* block, const char* password);
void OperatorBlockRights(const char* block, unsigned char* rights);
void OperatorBlockSetRights(char* block, const unsigned char* rights);

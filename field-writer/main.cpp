#include "field-writer/field_writer.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::runFieldWriter);
}

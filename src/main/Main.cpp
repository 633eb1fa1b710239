// Program entry point; the command line is not read.
int main() {
    return 0;
}

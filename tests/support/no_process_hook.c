/* A hook library without a "Process" entry point: adding it must fail. */
int Configure(void** ctxp, int argc, char* argv[]) {
    (void)argc;
    (void)argv;
    *ctxp = 0;
    return 0;
}

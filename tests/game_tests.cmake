# The game loop with real threads and real time.
dunko_test(game_tests GameWorkerTest.cpp GameRulesTest.cpp GAME_RESOURCES)

# The game loop with real threads and real time.
dunko_test(game_tests GameWorkerTest.cpp GameRulesTest.cpp GAME_RESOURCES)
# The game loop with a sound system that has stopped answering.
dunko_test(game_sound_tests GameSoundStallTest.cpp GAME_RESOURCES)
